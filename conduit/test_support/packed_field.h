#pragma once
// The platform blocks are packed and gtest compares through references: a field is copied out
// before a comparison takes it (a pointer field is misaligned in a 64-bit build).

namespace korvet::testing {

template <typename T>
T Field(T value) {
  return value;
}

}  // namespace korvet::testing
