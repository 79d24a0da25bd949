;; calls: inc adds one to its parameter; twice calls it two times and
;; relies only on inc's pre- and post-condition.
{y=#y}
%PROC inc(%IOP/y:int)==
%STM [
  LB=1=>$Oy=+(y,1)^$OLB=2;
]
{y=+(#y,1)}
{x=a}
%PROC twice(%IOP/x:int)==
%STM [
  LB=1=>inc(%IOP/x|y)^$OLB=2;
  LB=2=>inc(%IOP/x|y)^$OLB=3;
]
{x=+(+(a,1),1)}
