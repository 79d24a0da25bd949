{$T}
%PROC max(%INP/a:int;%INP/b:int;%IOP/m:int)==
%STM [
  ?[LB=1^a>b=>$OLB=2|~=>$OLB=3;
    LB=2=>$Om=a^$OLB=4;
    LB=3=>$Om=b^$OLB=4;
  ]
  {m=a|m=b}
  ?[LB=4^m<0=>$OLB=5|~=>$OLB=6;
    LB=5=>$Om=-(0,m)^$OLB=7;
    LB=6=>$OLB=7;
  ]
]
{~m<0}
