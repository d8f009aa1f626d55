#pragma once
// The cipher of macro files: TEA (32 cycles) over 8-byte blocks, each block's two words
// little-endian, under the program's fixed key. Every installation of this program uses
// the same key, so their files read each other.
#include <cstddef>
#include <cstdint>

struct TeaKey {
    uint32_t k[4];
};

extern const TeaKey g_MacroKey;

void TeaEncryptBlock(uint32_t v[2], const TeaKey& key);
void TeaDecryptBlock(uint32_t v[2], const TeaKey& key);
// Whole 8-byte blocks in place; a trailing partial block is left as it is.
void TeaEncrypt(uint8_t* p, size_t nLen, const TeaKey& key);
void TeaDecrypt(uint8_t* p, size_t nLen, const TeaKey& key);
// The legacy form: each byte rotated right by 2 bits on disk, so reading rotates left.
void RotateBytesLeft2(uint8_t* p, size_t nLen);
void RotateBytesRight2(uint8_t* p, size_t nLen);
