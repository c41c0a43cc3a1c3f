// The running application's release, as the connection derives it from the
// revision text.
#pragma once

#include <string>

namespace kvswx {

struct SourceRelease {
    std::wstring year = L"10";        // release year as decimal text
    std::wstring servicePack = L"0";  // service pack number as text
};

}  // namespace kvswx
