#!/usr/bin/env python3
"""Writes a program of N procedures for the benchmark: N/2 callees and N/2
callers. Every caller has a loop with invariant, a case statement and a call
of its callee; every fourth caller has a condition the prover cannot show
and so has every second callee; the others are proved in full."""
import sys


def callee(k):
    # Even callees prove; odd ones keep a condition the prover cannot show.
    other = "y" if k % 2 == 0 else "+(y,1)"
    return (
        f";; c{k}: keeps y positive, whichever branch it takes\n"
        "{y>0}\n"
        f"%PROC c{k}(%IOP/y:int)==\n"
        "%STM [\n"
        "  ?[LB=1^y>5=>$OLB=2|~=>$OLB=3;\n"
        "    LB=2=>$Oy=y^$OLB=4;\n"
        f"    LB=3=>$Oy={other}^$OLB=4;\n"
        "  ]\n"
        "]\n"
        "{y>0}\n\n"
    )


def caller(k, proved):
    post = "x>0" if proved else "x>+(n,1)"
    return (
        f";; p{k}: calls c{k} n times in a loop and resets its counter\n"
        "{x>0^n>0}\n"
        f"%PROC p{k}(%IOP/x:int;%INP/n:int)==\n"
        "%LOC [int:i]\n"
        "%STM [\n"
        "  LB=1=>$Oi=0^$OLB=2;\n"
        "  *[LB=2^i<n=>($OLB=3|$OLB=6)\n"
        "    ?[LB=3^x>n=>$OLB=4|~=>$OLB=5;\n"
        "      LB=4=>$Ox=x^$OLB=5;\n"
        "    ]\n"
        f"    LB=5=>c{k}(%IOP/x|y)^$OLB=7;\n"
        "    LB=7=>$Oi=+(i,1)^$OLB=2;\n"
        "    {x>0}\n"
        "  ]\n"
        "  LB=6=>$Ox=x^$Oi=0^$OLB=8;\n"
        "]\n"
        f"{{{post}}}\n\n"
    )


def main():
    n = int(sys.argv[1])
    out = sys.stdout
    out.write(f";; benchmark program with {n} procedures\n")
    for k in range(n // 2):
        out.write(callee(k))
    for k in range(n // 2):
        out.write(caller(k, k % 4 != 3))


if __name__ == "__main__":
    main()
