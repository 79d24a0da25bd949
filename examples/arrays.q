;; arrays: sets a[i] to zero; afterwards a[i] is zero and i is unchanged.
{i=k}
%PROC zero(%INP/i:int;%IOP/a:array)==
%STM [
  LB=1=>$Oa[i]=0^$OLB=2;
]
{a[k]=0}
