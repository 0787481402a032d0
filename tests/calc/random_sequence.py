#!/usr/bin/env python3
"""Prints the first uniform and normal deviates of the noise generator for the
seed -7, computed independently of the C++ code with single-precision
rounding emulated after every operation. random_deviates_test.cpp holds them."""
import math
import struct


def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


M1, IA1, IC1 = 259200, 7141, 54773
M2, IA2, IC2 = 134456, 8121, 28411
M3, IA3, IC3 = 243000, 4561, 51349
RM1 = f32(1.0 / M1)
RM2 = f32(1.0 / M2)


def fmod(a, m):  # remainder with the sign of the dividend
    return int(math.fmod(a, m))


class Generator:
    def __init__(self):
        self.ready = False
        self.saved = None

    def entry(self):
        return f32(f32(self.k1 + f32(self.k2 * RM2)) * RM1)

    def ran1(self, seed):
        if seed < 0 or not self.ready:
            self.ready = True
            self.k1 = fmod(IC1 - seed, M1)
            self.k1 = fmod(IA1 * self.k1 + IC1, M1)
            self.k2 = fmod(self.k1, M2)
            self.k1 = fmod(IA1 * self.k1 + IC1, M1)
            self.k3 = fmod(self.k1, M3)
            self.r = []
            for _ in range(97):
                self.k1 = fmod(IA1 * self.k1 + IC1, M1)
                self.k2 = fmod(IA2 * self.k2 + IC2, M2)
                self.r.append(self.entry())
            seed = 1
        self.k1 = fmod(IA1 * self.k1 + IC1, M1)
        self.k2 = fmod(IA2 * self.k2 + IC2, M2)
        self.k3 = fmod(IA3 * self.k3 + IC3, M3)
        j = 1 + (97 * self.k3) // M3
        value = self.r[j - 1]
        self.r[j - 1] = self.entry()
        return value, seed

    def gasdev(self, seed):
        if self.saved is not None:
            value, self.saved = self.saved, None
            return value, seed
        while True:
            u, seed = self.ran1(seed)
            p = f32(f32(2.0 * u) - 1.0)
            u, seed = self.ran1(seed)
            q = f32(f32(2.0 * u) - 1.0)
            r = f32(f32(p * p) + f32(q * q))
            if 0.0 < r < 1.0:
                break
        fac = f32(math.sqrt(f32(f32(-2.0 * f32(math.log(r))) / r)))
        self.saved = f32(p * fac)
        return f32(q * fac), seed


g = Generator()
seed = -7
uniforms = []
for _ in range(8):
    v, seed = g.ran1(seed)
    uniforms.append(v)
print("uniform", " ".join(repr(v) for v in uniforms))
g = Generator()
seed = -7
normals = []
for _ in range(8):
    v, seed = g.gasdev(seed)
    normals.append(v)
print("normal", " ".join(repr(v) for v in normals))
