;; countwrong: the body counts x up by two while i goes up by one, so the
;; invariant x=i is not kept; a condition must remain.
{n>0}
%PROC countwrong(%INP/n:int;%IOP/x:int)==
%LOC [int:i]
%STM [
  LB=1=>$Oi=0^$Ox=0^$OLB=2;
  *[LB=2^~(i=n)=>($OLB=3|$OLB=4)
    LB=3=>$Oi=+(i,1)^$Ox=+(x,2)^$OLB=2;
    {x=i}
  ]
]
{x=n}
