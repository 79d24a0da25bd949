;; arrswap: exchanges a[i] and a[j] in one simultaneous assignment (when i
;; and j are equal both values are the same, so the outcome is defined).
{a[i]=x^a[j]=y}
%PROC arrswap(%INP/i:int;%INP/j:int;%IOP/a:array;%INP/x:int;%INP/y:int)==
%STM [
  LB=1=>$Oa[i]=a[j]^$Oa[j]=a[i]^$OLB=2;
]
{a[i]=y^a[j]=x}
