;; quant: every element of a is positive, so a[i]+a[j] is greater than a[i].
{$Ak:a[k]>0}
%PROC sumpos(%INP/i:int;%INP/j:int;%INP/a:array;%IOP/x:int)==
%STM [
  LB=1=>$Ox=+(a[i],a[j])^$OLB=2;
]
{x>a[i]}
