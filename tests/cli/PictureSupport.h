// Whether this build's zemtra-cli draws pictures (--png, --pdf, --nsd-png): they need
// Qt, which the ThreadSanitizer build leaves out.
#pragma once

inline constexpr bool kCliDrawsPictures = ZEMTRA_CLI_DRAWS_PICTURES;
inline constexpr const char* kNoPictures = "this build has no Qt, so the tool draws no pictures";
