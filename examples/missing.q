;; missing: the first procedure is complete; the second has both conditions
;; but its loop has no invariant; the third, last, has neither condition.
;; An assertion after a block is that procedure's post-condition, so only
;; the last procedure can go without one.
{$T}
%PROC first(%IOP/x:int)==
%STM [
  LB=1=>$Ox=1^$OLB=2;
]
{x=1}
{$T}
%PROC second(%INP/n:int;%IOP/x:int)==
%STM [
  LB=1=>$Ox=0^$OLB=2;
  *[LB=2^~(x=n)=>($OLB=3|$OLB=4)
    LB=3=>$Ox=+(x,1)^$OLB=2;
  ]
]
{x=n}
%PROC third(%IOP/x:int)==
%STM [
  LB=1=>$Ox=+(x,1)^$OLB=2;
]
