// Build-time tool: writes the man page from its template, with the OPTIONS and EXIT STATUS parts
// taken from the tables that --help prints (src/app/ManPageSections).
//   man-page-tool TEMPLATE OUTPUT
#include "app/ManPageSections.h"

#include <fstream>
#include <iostream>
#include <sstream>

int main (int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: man-page-tool TEMPLATE OUTPUT\n";
        return 2;
    }

    std::ifstream in (argv[1], std::ios::binary);
    std::ostringstream pageTemplate;
    pageTemplate << in.rdbuf();

    if (!in)
    {
        std::cerr << "man-page-tool: cannot read " << argv[1] << "\n";
        return 1;
    }

    const auto page = ManPageSections::fillTemplate (pageTemplate.str());

    if (!page)
    {
        std::cerr << "man-page-tool: " << argv[1] << " needs the lines \"" << ManPageSections::optionsMarker
                  << "\" and \"" << ManPageSections::exitStatusesMarker << "\"\n";
        return 1;
    }

    std::ofstream out (argv[2], std::ios::binary | std::ios::trunc);
    out << *page;
    out.close();

    if (!out)
    {
        std::cerr << "man-page-tool: cannot write " << argv[2] << "\n";
        return 1;
    }

    return 0;
}
