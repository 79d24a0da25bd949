{($Ak:k>0)^n>0}
%PROC q(%INP/n:int;%IOP/s:int)==
%STM [
  LB=1=>$Os=*(n,2)^$OLB=2;
  LB=2=>$Os=-(s,n)^$OLB=3;
]
{s=n^(s>0|~s>0)^~$F^(n>0->s>0)^$Em:m=s}
