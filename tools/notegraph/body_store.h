// An in-memory stream for the drawing body: text is kept in fixed-size
// blocks, so a body of hundreds of megabytes is never copied or reallocated
// while it grows, and costs little more than its own size.
#pragma once

#include <memory>
#include <ostream>
#include <streambuf>
#include <vector>

namespace notegraph {

class BodyStore : public std::streambuf {
public:
    static constexpr std::size_t kBlockSize = 1 << 20;

    // Hands every block, in order, to the stream.
    void writeTo(std::ostream& output) const;
    std::size_t size() const { return m_size; }

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int_type overflow(int_type c) override;

private:
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_size = 0;  // bytes held in all blocks
};

}  // namespace notegraph
