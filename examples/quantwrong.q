;; quantwrong: every element of a is positive, but x = a[i]-1 need not be.
{$Ak:a[k]>0}
%PROC decwrong(%INP/i:int;%INP/a:array;%IOP/x:int)==
%STM [
  LB=1=>$Ox=-(a[i],1)^$OLB=2;
]
{x>0}
