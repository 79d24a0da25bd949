%PROC np(%IOP/x:int)==
%STM [
  LB=1=>$Ox=+(x,x)^$OLB=2;
  LB=2=>$Ox=+(x,x)^$OLB=3;
]
{x>0}
%PROC np2(%IOP/x:int)
[LB=1=>np(%IOP/x|x)^$OLB=2;]
