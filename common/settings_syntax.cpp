#include "settings_syntax.h"

#include <cctype>
#include <climits>

#include "platform_text.h"

namespace {

bool Keeps(char c)
{
    return c == '\\' || c == ':' || IsLetterOrDigit(static_cast<unsigned char>(c));
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

std::string ReadSettingsValue(TextReader& in)
{
    std::string value;
    in.ReadUntil('\n', value, kSettingsValueChars);
    TrimLeft(value);
    TrimRight(value);
    return value;
}

long DecimalToInt(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<long>(value);
}

std::string SettingsLine(const std::string& key, const std::string& value, bool lineEnd)
{
    std::string line = key + " = " + value;
    if (lineEnd)
        line += "\r\n";
    return line;
}
