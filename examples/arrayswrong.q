;; arrayswrong: sets a[i] to zero, but claims that a[j] is zero as well,
;; which fails when j differs from i and a[j] was not zero.
{$T}
%PROC zerowrong(%INP/i:int;%INP/j:int;%IOP/a:array)==
%STM [
  LB=1=>$Oa[i]=0^$OLB=2;
]
{a[j]=0}
