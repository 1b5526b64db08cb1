#pragma once

namespace unzip32 {

// Collects the causes met during one call; the most serious one becomes the result.
class ResultCode {
public:
    void Note(int code);
    int Value() const { return code_; }

private:
    int code_ = 0;
};

} // namespace unzip32
