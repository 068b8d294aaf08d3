#include "app/users/VigenereCipher.h"

TVigenereCipher::TVigenereCipher(std::string key) : FKey(std::move(key))
{
}

std::string TVigenereCipher::Encode(std::string_view plain) const
{
    std::string result(plain);
    if (FKey.empty())
        return result;
    for (size_t i = 0; i < result.size(); ++i)
        result[i] = static_cast<char>(static_cast<unsigned char>(result[i]) + static_cast<unsigned char>(FKey[i % FKey.size()]));
    return result;
}

std::string TVigenereCipher::Decode(std::string_view enciphered) const
{
    std::string result(enciphered);
    if (FKey.empty())
        return result;
    for (size_t i = 0; i < result.size(); ++i)
        result[i] = static_cast<char>(static_cast<unsigned char>(result[i]) - static_cast<unsigned char>(FKey[i % FKey.size()]));
    return result;
}
