{x=a^y=b}
%PROC swap(%IOP/x:int;%IOP/y:int)==
%LOC [int:t]
%STM [
  LB=1=>$Ot=x^$OLB=2;
  LB=2=>$Ox=y^$OLB=3;
  LB=3=>$Oy=t^$OLB=4;
]
{x=b^y=a}
