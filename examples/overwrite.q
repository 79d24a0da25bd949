;; overwrite: the second store into a[k] is the one that stays.
{$T}
%PROC overwrite(%INP/k:int;%IOP/a:array)==
%STM [
  LB=1=>$Oa[k]=1^$OLB=2;
  LB=2=>$Oa[k]=2^$OLB=3;
]
{a[k]=2}
