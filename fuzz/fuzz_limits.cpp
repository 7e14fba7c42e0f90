// The limits file reader on any bytes: it returns limits or throws LimitsError, nothing
// else; every limit it sets lies between 0 and 1 m; the limits written out read back the
// same; CR LF line ends read as LF ones.
#include <string>

#include "check/limits.hpp"
#include "fuzz/fuzz_support.hpp"

namespace velmorta::fuzz {
namespace {

bool Parse(std::string_view text, check::Limits& limits) {
  try {
    limits = check::ParseLimits(text, "fuzz");
    return true;
  } catch (const check::LimitsError& e) {
    Check(std::string_view(e.what()).starts_with("fuzz:"), "error without its origin", e.what());
    return false;
  }
}

}  // namespace
}  // namespace velmorta::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmorta;
  using namespace velmorta::fuzz;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  check::Limits limits;
  const bool ok = Parse(bytes, limits);
  if (ok) {
    for (const check::LimitName& n : check::LimitNames()) {
      const std::int32_t value = limits.*(n.member);
      Check(value >= 0 && value <= check::kLargestLimit, "limit out of range", n.name);
    }
    check::Limits again;
    Check(Parse(check::LimitsText(limits), again) && again == limits, "written limits read back differently");
  }
  std::string lf;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    lf += bytes[i];
  }
  check::Limits fromLf;
  const bool lfOk = Parse(lf, fromLf);
  Check(lfOk == ok && (!ok || fromLf == limits), "CR LF and LF line ends read differently");
  return 0;
}
