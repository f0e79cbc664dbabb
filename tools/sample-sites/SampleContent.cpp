#include "sample-sites/SampleContent.h"

#include <array>
#include <cstdint>
#include <string>

namespace lumetra::samples {

namespace {

constexpr int kNumbersPerPage = 6;

// One number of each of these message counts on every page.
constexpr std::array<int, kNumbersPerPage> kMessageCounts = {2, 5, 8, 0, 1, 6};

constexpr std::array<const char*, 8> kRandomCodes = {"+1",  "+44", "+358", "+33",
                                                     "+49", "+61", "+7",   "+852"};
constexpr std::array<const char*, 5> kSenderNames = {"测试银行", "测试商城", "测试出行", "测试外卖",
                                                     "测试邮箱"};
constexpr std::array<int, 7> kCodeLengths = {6, 4, 8, 6, 5, 8, 7};

// Deterministic digits: a small linear congruential generator seeded per use.
class Digits {
  public:
    explicit Digits(std::uint64_t seed)
        : state_(seed * 6364136223846793005ULL + 1442695040888963407ULL) {}
    int Next(int low, int high) {  // low..high inclusive
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return low + static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(high - low + 1));
    }
    std::string Take(int count) {
        std::string digits;
        for (int i = 0; i < count; ++i) digits += static_cast<char>('0' + Next(0, 9));
        return digits;
    }

  private:
    std::uint64_t state_;
};

std::uint64_t ZoneSeed(SampleZone zone) {
    return static_cast<std::uint64_t>(zone) * 1000 + 17;
}

ListedNumber NumberAt(SampleZone zone, int index) {
    Digits digits(ZoneSeed(zone) + static_cast<std::uint64_t>(index));
    switch (zone) {
        case SampleZone::Random: {
            const int length = 8 + index % 4;  // 8 to 11 digits
            return {kRandomCodes[index % kRandomCodes.size()],
                    std::to_string(digits.Next(1, 9)) + digits.Take(length - 1)};
        }
        case SampleZone::China: {
            constexpr std::array<char, 5> second = {'3', '5', '7', '8', '9'};
            return {"+86", std::string("1") + second[index % second.size()] + digits.Take(9)};
        }
        case SampleZone::Us:
            return {"+1", std::to_string(digits.Next(2, 9)) + digits.Take(2) +
                              std::to_string(digits.Next(2, 9)) + digits.Take(6)};
    }
    return {};
}

std::string TwoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

Message MessageAt(SampleZone zone, int numberIndex, int messageIndex) {
    // Newest first: each message some minutes before the one above it.
    const int minutes = 8 * 60 + 10 - numberIndex * 13 - messageIndex * 7;
    const int seconds = (numberIndex * 17 + messageIndex * 11) % 60;
    const int nameIndex = (numberIndex + messageIndex) % static_cast<int>(kSenderNames.size());
    Digits digits(ZoneSeed(zone) * 31 +
                  static_cast<std::uint64_t>(numberIndex * 10 + messageIndex));
    const int codeLength = kCodeLengths[(numberIndex + messageIndex) % kCodeLengths.size()];
    return {"2026-12-11 " + TwoDigits(minutes / 60) + ":" + TwoDigits(minutes % 60) + ":" +
                TwoDigits(seconds),
            std::string("【") + kSenderNames[nameIndex] + std::to_string(messageIndex) + "】",
            std::to_string(digits.Next(1, 9)) + digits.Take(codeLength - 1)};
}

}  // namespace

int FirstListingPage(SampleZone zone) {
    return zone == SampleZone::Random ? 0 : 1;
}

std::vector<ListedNumber> ListingNumbers(SampleZone zone, int page) {
    const int offset = page - FirstListingPage(zone);
    if (offset < 0 || offset >= kListingPages) return {};
    std::vector<ListedNumber> numbers;
    for (int k = 0; k < kNumbersPerPage; ++k)
        numbers.push_back(NumberAt(zone, offset * kNumbersPerPage + k));
    return numbers;
}

std::vector<Message> Messages(SampleZone zone, std::string_view number) {
    for (int index = 0; index < kListingPages * kNumbersPerPage; ++index) {
        if (NumberAt(zone, index).number != number) continue;
        std::vector<Message> messages;
        for (int m = 0; m < kMessageCounts[index % kNumbersPerPage]; ++m) {
            messages.push_back(MessageAt(zone, index, m));
        }
        return messages;
    }
    return {};
}

}  // namespace lumetra::samples
