#pragma once

#include <QByteArray>
#include <memory>

struct z_stream_s;

// One zlib stream per block of at most 16384 bytes, with the state kept between blocks so
// that each block costs a reset, not a set-up.
class BlockCompressor {
public:
    enum class Result { Fits, TooBig, Error };
    explicit BlockCompressor(int level);
    ~BlockCompressor();
    // Compresses one complete stream into out (capacity bytes); sets outLength when it fits.
    Result compress(const char* in, int length, char* out, int capacity, int& outLength);

private:
    std::unique_ptr<z_stream_s> m_stream;
    bool m_ready = false;
};

class BlockDecompressor {
public:
    BlockDecompressor();
    ~BlockDecompressor();
    // Inflates one complete stream into out; false when the stream is damaged, incomplete
    // or inflates to more than capacity bytes.
    bool decompress(const char* in, int length, char* out, int capacity, int& outLength);

private:
    std::unique_ptr<z_stream_s> m_stream;
    bool m_ready = false;
};
