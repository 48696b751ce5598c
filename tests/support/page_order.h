#pragma once
// The built-in registry's page order, as the tests name its pages: the controller's monitoring
// page, then the two device kinds.
namespace qvr {

inline constexpr int kPageQvrb = 0;
inline constexpr int kPageMux410 = 1;
inline constexpr int kPageTpx520 = 2;

}  // namespace qvr
