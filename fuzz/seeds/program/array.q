{n>0}
%PROC arr(%INP/n:int;%IOP/a:array)==
%STM [
  LB=1=>$Oa[n]=0^$OLB=2;
  LB=2=>$Oa[+(n,1)]=a[n]^$OLB=3;
]
{a[+(n,1)]=0}
