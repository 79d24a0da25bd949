;; callswrong: dec subtracts one, but twice claims that calling it two
;; times adds two; a condition must remain.
{y=#y}
%PROC dec(%IOP/y:int)==
%STM [
  LB=1=>$Oy=-(y,1)^$OLB=2;
]
{y=-(#y,1)}
{x=a}
%PROC twice(%IOP/x:int)==
%STM [
  LB=1=>dec(%IOP/x|y)^$OLB=2;
  LB=2=>dec(%IOP/x|y)^$OLB=3;
]
{x=+(+(a,1),1)}
