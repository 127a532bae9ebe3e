// Transfer times.
#include "shell/TransferTimes.h"

#include "localisation/RunTimeText.h"

namespace vx::shell {

namespace {

const TRunTimeText Bytes{"%1 bytes"};

} // namespace

std::vector<std::pair<std::string, std::string>> TransferRows(std::uint64_t bytes)
{
    static constexpr std::uint64_t Speeds[] = {14400, 28800, 56000, 64000, 128000, 256000};
    std::vector<std::pair<std::string, std::string>> rows;
    for (std::uint64_t speed : Speeds) {
        // Eight bits to the byte; a file too big to multiply is divided first.
        const std::uint64_t seconds = bytes <= UINT64_MAX / 8 ? bytes * 8 / speed : bytes / speed * 8;
        rows.emplace_back(std::to_string(speed), std::to_string(seconds) + (rows.empty() ? " Sec" : " Sec."));
    }
    return rows;
}

std::string SizeText(std::uint64_t bytes)
{
    return Bytes({std::to_string(bytes)});
}

} // namespace vx::shell
