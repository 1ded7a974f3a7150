// ParseSecretsText on arbitrary bytes, held in a buffer of exactly their size so that a read past
// them is caught, for two entries. Whatever the bytes, each field ends inside its width with
// zeros after its text, only an entry whose section was met has a key, and a refusal names a line
// or the file, never quotes it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/secrets_file.h"
#include "fuzz_support.h"

namespace {

template <size_t Capacity>
bool EndsInside(const char (&field)[Capacity]) {
  const std::string_view text(field, Capacity);
  const size_t end = text.find('\0');
  return end != std::string_view::npos &&
         text.find_first_not_of('\0', end) == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<char> bytes(data, data + size);
  const char* const names[2] = {"My ISP", "Office"};
  CWipedSecrets secrets[2];
  const std::string problem = ParseSecretsText(bytes.data(), bytes.size(), names, secrets, 2);
  FUZZ_CHECK(problem.empty() || problem.starts_with("line ") ||
             problem.starts_with("the secrets file "));
  for (const CWipedSecrets& each : secrets) {
    const CEntrySecrets& entry = each.value;
    FUZZ_CHECK(EndsInside(entry.userName) && EndsInside(entry.domain) &&
               EndsInside(entry.password) && EndsInside(entry.preSharedKey));
    FUZZ_CHECK(entry.found || !(entry.hasUserName || entry.hasDomain || entry.hasPassword ||
                                entry.hasPreSharedKey));
  }
  return 0;
}
