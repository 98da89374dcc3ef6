#include "settings_syntax.h"

#include <cctype>
#include <climits>

#include "platform_text.h"

namespace {

bool Keeps(char c)
{
    return c == '\\' || c == ':' || IsLetterOrDigit(static_cast<unsigned char>(c));
}

// What a value may not end with: white space and other control characters, ".",
// quotes, ";", what no file name may hold (but the backslash and ":" of paths),
// and the code page's other non-letters.
bool DroppedAtValueEnd(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    if (u <= ' ' || u == 0x7F)
        return true;
    if (u >= 0x80)
        return !IsLetterOrDigit(u);
    switch (c) {
    case '.': case '"': case '\'': case ';': case '<': case '>': case '|': case '?': case '*': case '/':
        return true;
    default:
        return false;
    }
}

} // namespace

void TrimLeft(std::string& text)
{
    size_t i = 0;
    while (i < text.size() && !Keeps(text[i]))
        ++i;
    text.erase(0, i);
}

void TrimRight(std::string& text)
{
    if (text.empty())
        return;
    size_t i = text.size() - 1;
    while (i > 0 && !Keeps(text[i]))
        --i;
    text.erase(i + 1);
}

std::string ReadSettingsKey(TextReader& in)
{
    std::string key;
    in.ReadUntil('=', key, kSettingsKeyChars);
    TrimLeft(key);
    TrimRight(key);
    return key;
}

void TrimValueRight(std::string& text)
{
    // Like TrimRight, the first character always stays.
    size_t end = text.size();
    while (end > 1 && DroppedAtValueEnd(text[end - 1]))
        --end;
    text.erase(end);
}

std::string ReadSettingsValue(TextReader& in, bool* minus)
{
    std::string value;
    int c = in.Get();
    while (c == ' ' || c == '\t')
        c = in.Get();
    if (c >= 0 && c != '\n') {
        value.push_back(static_cast<char>(c));
        std::string rest;
        in.ReadUntil('\n', rest, kSettingsValueChars - 1);
        value += rest;
    }
    std::string raw = value;
    TrimLeft(value);
    size_t dropped = raw.size() - value.size();
    if (minus)
        *minus = dropped > 0 && !value.empty() && raw[dropped - 1] == '-';
    TrimValueRight(value);
    return value;
}

long DecimalToInt(const char* text, size_t length)
{
    const char* p = text;
    const char* end = text + length;
    while (p < end && std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    long long value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<long>(value);
}

long DecimalToInt(const std::string& text)
{
    return DecimalToInt(text.data(), text.size());
}

std::string SettingsLine(const std::string& key, const std::string& value, bool lineEnd)
{
    std::string line = key + " = " + value;
    if (lineEnd)
        line += "\r\n";
    return line;
}
