#include "text_reader.h"

#include <cstring>
#include <utility>

#include "file_read.h"

void TextModeRange(const std::string& bytes, std::string& translated, const char*& begin, const char*& end)
{
    begin = bytes.data();
    size_t size = bytes.size();
    if (const void* stop = std::memchr(begin, 0x1A, size))
        size = static_cast<size_t>(static_cast<const char*>(stop) - begin);
    if (std::memchr(begin, '\r', size)) {
        translated.clear();
        translated.reserve(size);
        for (size_t i = 0; i < size; ++i) {
            if (begin[i] != '\r' || i + 1 == size || begin[i + 1] != '\n')
                translated.push_back(begin[i]);
        }
        begin = translated.data();
        size = translated.size();
    }
    end = begin + size;
}

TextReader::TextReader(const std::string& path)
{
    // No settings or project file is too large to hold; one that is, is unreadable.
    open_ = TryReadWholeFile(path, bytes_);
    if (open_)
        TextModeRange(bytes_, translated_, next_, end_);
    atEnd_ = !open_;
}

TextReader::TextReader(InMemory, std::string bytes) : bytes_(std::move(bytes)), open_(true)
{
    TextModeRange(bytes_, translated_, next_, end_);
}

void TextReader::Close()
{
    std::string().swap(bytes_);
    std::string().swap(translated_);
    next_ = end_ = nullptr;
    open_ = false;
}

int TextReader::Get()
{
    if (atEnd_ || next_ == end_) {
        atEnd_ = true;
        return -1;
    }
    return static_cast<unsigned char>(*next_++);
}

bool TextReader::ReadUntil(char delim, std::string& out, size_t maxChars)
{
    out.clear();
    for (;;) {
        int c = Get();
        if (c < 0)
            return false;
        if (c == static_cast<unsigned char>(delim))
            return true;
        if (out.size() < maxChars)
            out.push_back(static_cast<char>(c));
    }
}
