#include "support/FakeSettingsStore.h"

namespace velmora::test {
namespace {

class StringReader final : public SettingsReader {
  public:
    explicit StringReader(std::string bytes) : bytes_(std::move(bytes)) {}
    std::optional<uint8_t> ReadByte() override {
        if (at_ >= bytes_.size()) return std::nullopt;
        return static_cast<uint8_t>(bytes_[at_++]);
    }

  private:
    std::string bytes_;
    std::size_t at_ = 0;
};

class StringWriter final : public SettingsWriter {
  public:
    explicit StringWriter(std::string& target) : target_(target) { target_.clear(); }
    bool Write(const char* bytes, std::size_t n) override {
        target_.append(bytes, n);
        return true;
    }

  private:
    std::string& target_;
};

}  // namespace

std::unique_ptr<SettingsReader> FakeSettingsStore::OpenForRead(const char* name) {
    if (held) return nullptr;
    return std::make_unique<StringReader>(files[name]);  // creates a missing file empty
}

std::unique_ptr<SettingsWriter> FakeSettingsStore::OpenForWrite(const char* name) {
    if (held || readOnly) return nullptr;
    return std::make_unique<StringWriter>(files[name]);
}

}  // namespace velmora::test
