#include "blockcodec.h"

#include <zlib.h>

BlockCompressor::BlockCompressor(int level) : m_stream(std::make_unique<z_stream_s>()) {
    *m_stream = {};
    m_ready = deflateInit(m_stream.get(), level) == Z_OK;
}

BlockCompressor::~BlockCompressor() {
    if (m_ready)
        deflateEnd(m_stream.get());
}

BlockCompressor::Result BlockCompressor::compress(const char* in, int length, char* out,
                                                  int capacity, int& outLength) {
    if (!m_ready || deflateReset(m_stream.get()) != Z_OK)
        return Result::Error;
    m_stream->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in));
    m_stream->avail_in = uInt(length);
    m_stream->next_out = reinterpret_cast<Bytef*>(out);
    m_stream->avail_out = uInt(capacity);
    const int rc = deflate(m_stream.get(), Z_FINISH);
    if (rc == Z_STREAM_END) {
        outLength = int(m_stream->total_out);
        return Result::Fits;
    }
    if (rc == Z_OK || rc == Z_BUF_ERROR)
        return Result::TooBig; // the output area is full
    return Result::Error;
}

BlockDecompressor::BlockDecompressor() : m_stream(std::make_unique<z_stream_s>()) {
    *m_stream = {};
    m_ready = inflateInit(m_stream.get()) == Z_OK;
}

BlockDecompressor::~BlockDecompressor() {
    if (m_ready)
        inflateEnd(m_stream.get());
}

bool BlockDecompressor::decompress(const char* in, int length, char* out, int capacity,
                                   int& outLength) {
    if (!m_ready || inflateReset(m_stream.get()) != Z_OK)
        return false;
    m_stream->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in));
    m_stream->avail_in = uInt(length);
    m_stream->next_out = reinterpret_cast<Bytef*>(out);
    m_stream->avail_out = uInt(capacity);
    const int rc = inflate(m_stream.get(), Z_FINISH);
    if (rc != Z_STREAM_END || m_stream->avail_in != 0)
        return false;
    outLength = int(m_stream->total_out);
    return true;
}
