;; noinv: the loop has no invariant, so the program cannot be verified
;; until one is given.
{n>0}
%PROC noinv(%INP/n:int;%IOP/x:int)==
%STM [
  LB=1=>$Ox=0^$OLB=2;
  *[LB=2^~(x=n)=>($OLB=3|$OLB=4)
    LB=3=>$Ox=+(x,1)^$OLB=2;
  ]
]
{x=n}
