;; truefalse: true implies false after one assignment; nothing proves it.
{$T}
%PROC truefalse(%IOP/x:int)==
%STM [
  LB=1=>$Ox=1^$OLB=2;
]
{$F}
