#pragma once

// Reads back an exported SVG picture: enough of XML for what writeSvg writes.

#include <map>
#include <regex>
#include <string>
#include <vector>

// An element of an exported picture.
struct SvgElement {
    std::string tag;
    std::map<std::string, std::string> attr;
    double operator[](const char* name) const { return std::stod(attr.at(name)); }
};

// The elements of an SVG text by the id of the group they stand in, "" for
// those outside every group.
inline std::map<std::string, std::vector<SvgElement>> svgGroups(const std::string& text)
{
    static const std::regex tag(R"(<(/?)(\w+)([^>]*)>)"), attribute(R"re(([\w-]+)="([^"]*)")re");
    std::map<std::string, std::vector<SvgElement>> groups;
    std::string group;
    for (std::sregex_iterator t(text.begin(), text.end(), tag), end; t != end; ++t) {
        if ((*t)[1] == "/") {
            if ((*t)[2] == "g") group.clear();
            continue;
        }
        SvgElement& e = groups[group].emplace_back(SvgElement{(*t)[2], {}});
        const std::string attrs = (*t)[3];
        for (std::sregex_iterator a(attrs.begin(), attrs.end(), attribute); a != end; ++a) e.attr[(*a)[1]] = (*a)[2];
        if (e.tag == "g") group = e.attr["id"];
    }
    return groups;
}
