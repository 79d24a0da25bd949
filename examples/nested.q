;; nested: two nested loops count k up to n*m; each loop has its invariant
;; as an assertion after the last statement of its body.
{n>0^m>0}
%PROC nested(%INP/n:int;%INP/m:int;%IOP/k:int)==
%LOC [int:i;int:j]
%STM [
  LB=1=>$Oi=0^$Ok=0^$OLB=2;
  *[LB=2^~(i=n)=>($OLB=3|$OLB=6)
    LB=3=>$Oj=0^$OLB=4;
    *[LB=4^~(j=m)=>($OLB=5|$OLB=7)
      LB=5=>$Oj=+(j,1)^$Ok=+(k,1)^$OLB=4;
      {k=+(*(i,m),j)}
    ]
    LB=7=>$Oi=+(i,1)^$OLB=2;
    {k=*(i,m)}
  ]
]
{k=*(n,m)}
