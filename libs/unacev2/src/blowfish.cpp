#include "blowfish.h"

#include "bit_reader.h"
#include "blowfish_tables.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace unacev2 {
namespace {

void StoreLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t Rotl(std::uint32_t v, int n) {
    return (v << n) | (v >> (32 - n));
}

} // namespace

AceBlowfish::AceBlowfish(const std::uint32_t key[5]) {
    std::memcpy(p_, kBlowfishInitialP, sizeof p_);
    std::memcpy(s_[0], kBlowfishInitialS0, sizeof s_[0]);
    std::memcpy(s_[1], kBlowfishInitialS1, sizeof s_[1]);
    std::memcpy(s_[2], kBlowfishInitialS2, sizeof s_[2]);
    std::memcpy(s_[3], kBlowfishInitialS3, sizeof s_[3]);
    for (int i = 0; i < 18; ++i)
        p_[i] ^= key[i % 5];
    std::uint32_t l = 0;
    std::uint32_t r = 0;
    for (int i = 0; i < 18; i += 2) {
        EncryptBlock(l, r);
        p_[i] = l;
        p_[i + 1] = r;
    }
    for (auto& box : s_) {
        for (int i = 0; i < 256; i += 2) {
            EncryptBlock(l, r);
            box[i] = l;
            box[i + 1] = r;
        }
    }
}

void AceBlowfish::EncryptBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t l = left;
    std::uint32_t r = right;
    for (int i = 0; i < 16; i += 2) {
        l ^= p_[i];
        r ^= F(l);
        r ^= p_[i + 1];
        l ^= F(r);
    }
    l ^= p_[16];
    r ^= p_[17];
    left = r;
    right = l;
}

void AceBlowfish::DecryptBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t l = left;
    std::uint32_t r = right;
    for (int i = 17; i > 1; i -= 2) {
        l ^= p_[i];
        r ^= F(l);
        r ^= p_[i - 1];
        l ^= F(r);
    }
    l ^= p_[1];
    r ^= p_[0];
    left = r;
    right = l;
}

void AceDeriveKey(const std::uint8_t* password, std::size_t size, std::uint32_t digest[5]) {
    size = std::min<std::size_t>(size, 50);
    std::uint8_t block[64] = {};
    if (size > 0)
        std::memcpy(block, password, size);
    block[size] = 0x80;
    std::uint32_t w[80];
    for (int t = 0; t < 15; ++t)
        w[t] = LoadLe32(block + 4 * t);
    w[15] = static_cast<std::uint32_t>(size * 8);
    for (int t = 16; t < 80; ++t)
        w[t] = w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16];

    const std::uint32_t iv[5] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
    std::uint32_t a = iv[0], b = iv[1], c = iv[2], d = iv[3], e = iv[4];
    for (int t = 0; t < 80; ++t) {
        std::uint32_t f;
        std::uint32_t k;
        if (t < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999u;
        } else if (t < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1u;
        } else if (t < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDCu;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6u;
        }
        const std::uint32_t temp = Rotl(a, 5) + f + e + k + w[t];
        e = d;
        d = c;
        c = Rotl(b, 30);
        b = a;
        a = temp;
    }
    digest[0] = iv[0] + a;
    digest[1] = iv[1] + b;
    digest[2] = iv[2] + c;
    digest[3] = iv[3] + d;
    digest[4] = iv[4] + e;
}

namespace {
std::array<std::uint32_t, 5> DeriveKey(const std::uint8_t* password, std::size_t size) {
    std::array<std::uint32_t, 5> key{};
    AceDeriveKey(password, size, key.data());
    return key;
}
} // namespace

AceCbcDecryptor::AceCbcDecryptor(const std::uint8_t* password, std::size_t size)
    : cipher_(DeriveKey(password, size).data()) {}

void AceCbcDecryptor::Decrypt(std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        const std::uint32_t cl = LoadLe32(data + i);
        const std::uint32_t cr = LoadLe32(data + i + 4);
        std::uint32_t l = cl;
        std::uint32_t r = cr;
        cipher_.DecryptBlock(l, r);
        StoreLe32(data + i, l ^ ivLeft_);
        StoreLe32(data + i + 4, r ^ ivRight_);
        ivLeft_ = cl;
        ivRight_ = cr;
    }
}

} // namespace unacev2
