#include "server/ConvertStyles.h"

#include <cstdio>
#include <cstdlib>

namespace server {

namespace {

struct StyleRow {
    int style;
    const char *layout;  // for output; "" = the server's default "mon dd yyyy hh:miAM"
};

// Input accepts every style listed (the date order is always year-month-day).
const StyleRow kStyles[] = {
    {-1, ""},
    {0, ""},
    {23, "yyyy-mm-dd"},
    {111, "yyyy/mm/dd"},
    {120, "yyyy-mm-dd hh:mi:ss"},
    {121, "yyyy-mm-dd hh:mi:ss.mmm"},
};

const StyleRow *find(int style) {
    for (const auto &r : kStyles)
        if (r.style == style) return &r;
    return nullptr;
}

}  // namespace

bool convertStyleKnown(int style) { return find(style) != nullptr; }

std::string formatDateTimeStyle(const std::string &iso, int style) {
    const StyleRow *r = find(style);
    std::string layout = r ? r->layout : "";
    if (iso.size() < 23) return iso;
    if (layout.empty()) {
        static const char *names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        int m = std::atoi(iso.substr(5, 2).c_str()), d = std::atoi(iso.substr(8, 2).c_str());
        int h = std::atoi(iso.substr(11, 2).c_str()), mi = std::atoi(iso.substr(14, 2).c_str());
        char buf[64];
        std::snprintf(buf, sizeof buf, "%s %2d %s %2d:%02d%s", names[(m + 11) % 12], d, iso.substr(0, 4).c_str(),
                      h % 12 == 0 ? 12 : h % 12, mi, h < 12 ? "AM" : "PM");
        return buf;
    }
    std::string out = layout;
    auto put = [&](const std::string &key, const std::string &value) {
        size_t p = out.find(key);
        if (p != std::string::npos) out.replace(p, key.size(), value);
    };
    put("yyyy", iso.substr(0, 4));
    put("mm", iso.substr(5, 2));
    put("dd", iso.substr(8, 2));
    put("hh", iso.substr(11, 2));
    put("mi", iso.substr(14, 2));
    put("ss", iso.substr(17, 2));
    put("mmm", iso.substr(20, 3));
    return out;
}

}  // namespace server
