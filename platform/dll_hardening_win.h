#pragma once

namespace selvane {

// The program lies in the product's folder, which others may be able to
// write. From here on DLLs are looked up in the system directory only, never
// beside the program or in the current directory. Runs first thing.
void RestrictDllSearchToSystemDirectory();

}  // namespace selvane
