;; vacuous: the pre-condition is contradictory, so whatever the body does
;; the condition holds vacuously; quell1-batch warns about it.
{x>0^~(x>0)}
%PROC vacuous(%IOP/x:int)==
%STM [
  LB=1=>$Ox=-(x,1)^$OLB=2;
]
{x>100}
