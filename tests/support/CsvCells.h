#pragma once

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace velmora::testing {

// The numbers of one CSV row, an empty cell as NaN.
inline std::vector<double> CsvCells(const std::string& row) {
    std::vector<double> cells;
    std::stringstream in(row);
    for (std::string cell; std::getline(in, cell, ',');) {
        cells.push_back(cell.empty() ? std::nan("") : std::stod(cell));
    }
    return cells;
}

}  // namespace velmora::testing
