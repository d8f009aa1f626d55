#include "storage/MacroCipher.h"

namespace {
constexpr uint32_t kDelta = 0x9E3779B9;

uint32_t Load32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
void Store32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}
} // namespace

const TeaKey g_MacroKey = {{0x6B4C6556, 0x4D6E6941, 0x6F726341, 0x3179654B}};

void TeaEncryptBlock(uint32_t v[2], const TeaKey& key) {
    uint32_t v0 = v[0], v1 = v[1], sum = 0;
    for (int i = 0; i < 32; ++i) {
        sum += kDelta;
        v0 += ((v1 << 4) + key.k[0]) ^ (v1 + sum) ^ ((v1 >> 5) + key.k[1]);
        v1 += ((v0 << 4) + key.k[2]) ^ (v0 + sum) ^ ((v0 >> 5) + key.k[3]);
    }
    v[0] = v0;
    v[1] = v1;
}

void TeaDecryptBlock(uint32_t v[2], const TeaKey& key) {
    uint32_t v0 = v[0], v1 = v[1], sum = kDelta * 32;
    for (int i = 0; i < 32; ++i) {
        v1 -= ((v0 << 4) + key.k[2]) ^ (v0 + sum) ^ ((v0 >> 5) + key.k[3]);
        v0 -= ((v1 << 4) + key.k[0]) ^ (v1 + sum) ^ ((v1 >> 5) + key.k[1]);
        sum -= kDelta;
    }
    v[0] = v0;
    v[1] = v1;
}

// Blocks are independent, so eight are run side by side: one block's rounds form a chain
// of dependent additions, and interleaving lets the processor overlap the chains.
namespace {
constexpr size_t kLanes = 8;

template <bool bEncrypt> void TeaLanes(uint8_t* p, const TeaKey& key) {
    uint32_t v0[kLanes], v1[kLanes];
    for (size_t l = 0; l < kLanes; ++l) {
        v0[l] = Load32(p + 8 * l);
        v1[l] = Load32(p + 8 * l + 4);
    }
    const uint32_t k0 = key.k[0], k1 = key.k[1], k2 = key.k[2], k3 = key.k[3];
    if (bEncrypt) {
        uint32_t sum = 0;
        for (int i = 0; i < 32; ++i) {
            sum += kDelta;
            for (size_t l = 0; l < kLanes; ++l) {
                v0[l] += ((v1[l] << 4) + k0) ^ (v1[l] + sum) ^ ((v1[l] >> 5) + k1);
                v1[l] += ((v0[l] << 4) + k2) ^ (v0[l] + sum) ^ ((v0[l] >> 5) + k3);
            }
        }
    } else {
        uint32_t sum = kDelta * 32;
        for (int i = 0; i < 32; ++i) {
            for (size_t l = 0; l < kLanes; ++l) {
                v1[l] -= ((v0[l] << 4) + k2) ^ (v0[l] + sum) ^ ((v0[l] >> 5) + k3);
                v0[l] -= ((v1[l] << 4) + k0) ^ (v1[l] + sum) ^ ((v1[l] >> 5) + k1);
            }
            sum -= kDelta;
        }
    }
    for (size_t l = 0; l < kLanes; ++l) {
        Store32(p + 8 * l, v0[l]);
        Store32(p + 8 * l + 4, v1[l]);
    }
}

template <bool bEncrypt> void TeaBuffer(uint8_t* p, size_t nLen, const TeaKey& key) {
    size_t i = 0;
    for (; i + 8 * kLanes <= nLen; i += 8 * kLanes)
        TeaLanes<bEncrypt>(p + i, key);
    for (; i + 8 <= nLen; i += 8) {
        uint32_t v[2] = {Load32(p + i), Load32(p + i + 4)};
        if (bEncrypt)
            TeaEncryptBlock(v, key);
        else
            TeaDecryptBlock(v, key);
        Store32(p + i, v[0]);
        Store32(p + i + 4, v[1]);
    }
}
} // namespace

void TeaEncrypt(uint8_t* p, size_t nLen, const TeaKey& key) {
    TeaBuffer<true>(p, nLen, key);
}

void TeaDecrypt(uint8_t* p, size_t nLen, const TeaKey& key) {
    TeaBuffer<false>(p, nLen, key);
}

void RotateBytesLeft2(uint8_t* p, size_t nLen) {
    for (size_t i = 0; i < nLen; ++i)
        p[i] = static_cast<uint8_t>((p[i] << 2) | (p[i] >> 6));
}

void RotateBytesRight2(uint8_t* p, size_t nLen) {
    for (size_t i = 0; i < nLen; ++i)
        p[i] = static_cast<uint8_t>((p[i] >> 2) | (p[i] << 6));
}
