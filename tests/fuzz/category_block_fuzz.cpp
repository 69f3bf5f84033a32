// Category blocks as the handheld's application-information block carries them: any bytes load into
// a list, which stores back into a block that loads into the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "conduit/base/ansi_text.h"
#include "conduit/store/category_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvet::store;
  // The first byte picks the desktop: western or double-byte (Japanese).
  const korvet::ScopedCodePage codePage(size > 0 && (data[0] & 1) ? 932 : 1252);
  CategoryList list(data, static_cast<long>(size));
  CategoryBlock block{};
  long blockSize = sizeof block;
  if (list.Store(&block, &blockSize) != 0) return 0;
  CategoryList again(&block, blockSize);
  if (!again.Equals(list)) std::abort();
  for (long number = 0; number < kCategoryCount; ++number) {
    CPCategory* category = list.GetAt(number);
    if (category == nullptr || category->GetName() == nullptr) continue;
    char safe[20];
    long safeSize = sizeof safe;
    list.MakeSafeName(category->GetName(), safe, &safeSize);
    if (list.FindByName(category->GetName()) == nullptr) std::abort();
  }
  return 0;
}
