#pragma once
// The program's web addresses. The home page stands in the link snippet, in
// the snippet windows' scripts and in the links menu; it is kept here once.

namespace zelvar {

inline constexpr const char* kHomePageAddress = "http://www.zelvar.cz";

} // namespace zelvar
