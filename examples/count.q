;; count: counts x up to n in a loop; the invariant x=i is given as an
;; assertion after the last statement of the body.
{n>0}
%PROC count(%INP/n:int;%IOP/x:int)==
%LOC [int:i]
%STM [
  LB=1=>$Oi=0^$Ox=0^$OLB=2;
  *[LB=2^~(i=n)=>($OLB=3|$OLB=4)
    LB=3=>$Oi=+(i,1)^$Ox=+(x,1)^$OLB=2;
    {x=i}
  ]
]
{x=n}
