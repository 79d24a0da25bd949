{y>0}
%PROC inc(%IOP/y:int)==
%STM [
  LB=1=>$Oy=+(y,1)^$OLB=2;
]
{y>1}
{x>0^n>0}
%PROC loop(%IOP/x:int;%INP/n:int)==
%LOC [int:i]
%STM [
  LB=1=>$Oi=0^$OLB=2;
  *[LB=2^i<n=>($OLB=3|$OLB=6)
    ?[LB=3^x>n=>$OLB=4|~=>$OLB=5;
      LB=4=>$Ox=x^$OLB=5;
    ]
    LB=5=>inc(%IOP/x|y)^$OLB=7;
    LB=7=>$Oi=+(i,1)^$OLB=2;
    {x>0}
  ]
]
{x>0}
