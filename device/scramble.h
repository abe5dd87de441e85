#pragma once

#include <cstdint>

// Checksum of a command: complement of the 8-bit sum of cmd[0] … cmd[6].
uint8_t commandChecksum(const uint8_t* cmd);

// Scrambles / unscrambles the eight bytes p[0] … p[7] in place with the secrecy buffer s (8 bytes,
// code in s[1] … s[6]). Decipher(Encrypt(p, s), s) == p.
void scrambleFrame(uint8_t* p, const uint8_t* s);
void unscrambleFrame(uint8_t* p, const uint8_t* s);

// Process-wide secrecy buffer; bytes 1 … 6 carry the code of the last handshake.
extern uint8_t secrecyBuffer[8];
