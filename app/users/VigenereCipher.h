#pragma once
// A Vigenère cipher over octets: each octet is shifted by the code of the key letter at its
// position (the key repeating), modulo 256. It keeps user names and passwords out of plain
// sight in the settings file; it is no protection against a determined reader.
#include <string>
#include <string_view>

class TVigenereCipher {
public:
    explicit TVigenereCipher(std::string key);
    std::string Encode(std::string_view plain) const;
    std::string Decode(std::string_view enciphered) const;

private:
    std::string FKey;
};
