#include "text_reader.h"

TextReader::TextReader(const std::string& path)
{
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        atEnd_ = true;
}

TextReader::~TextReader()
{
    Close();
}

void TextReader::Close()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

int TextReader::RawGet()
{
    if (pending_ >= 0) {
        int c = pending_;
        pending_ = -1;
        return c;
    }
    if (!file_)
        return -1;
    return std::fgetc(file_);
}

int TextReader::Get()
{
    if (atEnd_)
        return -1;
    int c = RawGet();
    if (c == '\r') {
        int next = RawGet();
        if (next == '\n')
            c = '\n';
        else if (next != EOF)
            pending_ = next;
    }
    if (c == EOF || c == 0x1A) {
        atEnd_ = true;
        return -1;
    }
    return c;
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
