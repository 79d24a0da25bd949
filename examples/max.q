;; max: m becomes the larger of a and b.
{$T}
%PROC max(%INP/a:int;%INP/b:int;%IOP/m:int)==
%STM [
  ?[LB=1^a>b=>$OLB=2|~=>$OLB=3;
    LB=2=>$Om=a^$OLB=4;
    LB=3=>$Om=b^$OLB=4;
  ]
]
{~(a>m)^~(b>m)}
