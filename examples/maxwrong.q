;; maxwrong: a wrong maximum, the branches are exchanged; a condition must
;; remain.
{$T}
%PROC maxwrong(%INP/a:int;%INP/b:int;%IOP/m:int)==
%STM [
  ?[LB=1^a>b=>$OLB=2|~=>$OLB=3;
    LB=2=>$Om=b^$OLB=4;
    LB=3=>$Om=a^$OLB=4;
  ]
]
{~(a>m)^~(b>m)}
