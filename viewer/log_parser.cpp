#include "log_parser.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>

#include "settings_syntax.h"

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    // The sharing of the C library's fopen, so the same files open.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    size_t expected = 0;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0)
        expected = static_cast<size_t>(size.QuadPart);
    // One read of the size the file has; the next one meets its end (or
    // whatever it has grown by).
    bytes.resize(expected + 4096);
    size_t have = 0;
    for (;;) {
        if (have == bytes.size())
            bytes.resize(bytes.size() * 2);
        DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - have, size_t(1) << 30));
        DWORD got = 0;
        if (!ReadFile(file, &bytes[have], want, &got, nullptr) || got == 0)
            break;
        have += got;
    }
    bytes.resize(have);
    CloseHandle(file);
    return true;
}

LogParser::LogParser(const std::string& bytes)
{
    const char* begin = bytes.data();
    size_t size = bytes.size();
    if (const void* stop = std::memchr(begin, 0x1A, size))
        size = static_cast<size_t>(static_cast<const char*>(stop) - begin);
    // A CR directly before an LF is dropped; any other CR stays.
    if (std::memchr(begin, '\r', size)) {
        translated_.reserve(size);
        for (size_t i = 0; i < size; ++i) {
            if (begin[i] != '\r' || i + 1 == size || begin[i + 1] != '\n')
                translated_.push_back(begin[i]);
        }
        begin = translated_.data();
        size = translated_.size();
    }
    next_ = begin;
    end_ = begin + size;
}

bool LogParser::Field(char delim, const char*& begin, size_t& kept)
{
    begin = next_;
    size_t left = static_cast<size_t>(end_ - next_);
    const void* found = left ? std::memchr(next_, delim, left) : nullptr;
    size_t length;
    if (found) {
        length = static_cast<size_t>(static_cast<const char*>(found) - next_);
        next_ += length + 1;
    } else {
        length = left;
        next_ = end_;
        atEnd_ = true;
    }
    kept = length < kFieldChars ? length : kFieldChars;
    return found != nullptr;
}

bool LogParser::Name(const char*& begin, size_t& length)
{
    if (!Field('"', begin, length))
        return false;
    Field('\t', begin, length);
    // The field holds the name and its closing quote.
    if (length > kNameChars + 1)
        length = kNameChars + 1;
    if (length > 0)
        --length;
    return true;
}

int32_t LogParser::Number(char delim)
{
    // The C library's decimal conversion, clamped to 32 bits.
    const char* p;
    size_t length;
    Field(delim, p, length);
    return static_cast<int32_t>(DecimalToInt(p, length));
}

void LogParser::ReadTimeField(My_Time& t, char end)
{
    int32_t h = Number(':');
    int32_t m = Number(':');
    int32_t s = Number(end);
    t = My_Time(h, m, s);
}

bool LogParser::ReadRecordTimes(My_Time times[4])
{
    const char* name;
    size_t length;
    if (!Name(name, length))
        return false;
    ReadTimeField(times[0], '\t');
    ReadTimeField(times[1], '\t');
    ReadTimeField(times[2], '\t');
    ReadTimeField(times[3], '\n');
    return true;
}

bool LogParser::ReadUsageRecord(Applic& row)
{
    const char* name;
    size_t length;
    if (!Name(name, length))
        return false;
    Applic read(std::string(name, length), "");
    My_Time times[4];
    ReadTimeField(times[0], '\t');
    ReadTimeField(times[1], '\t');
    ReadTimeField(times[2], '\t');
    ReadTimeField(times[3], '\n');
    CopyTimes(read, times);
    row = std::move(read);
    return true;
}
