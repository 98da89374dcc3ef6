#include "platform_text.h"

#ifdef _WIN32
#include <windows.h>

bool IsLetterOrDigit(unsigned char c)
{
    return IsCharAlphaNumericA(static_cast<CHAR>(c)) != FALSE;
}
#else
#include <cctype>

bool IsLetterOrDigit(unsigned char c)
{
    return std::isalnum(c) != 0;
}
#endif
