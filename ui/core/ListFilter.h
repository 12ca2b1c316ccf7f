#pragma once
// A list's filter: an SQL condition on the table's columns with its ? parameters.

#include <QVariant>
#include <string>
#include <vector>

namespace qav {

struct ListFilter {
    std::string condition; // empty: every record
    std::vector<QVariant> parameters;

    // This filter AND another condition.
    ListFilter and_(const std::string& other, std::vector<QVariant> otherParameters = {}) const {
        ListFilter result = *this;
        if (other.empty())
            return result;
        result.condition = condition.empty() ? other : "(" + condition + ") AND (" + other + ")";
        for (QVariant& value : otherParameters)
            result.parameters.push_back(std::move(value));
        return result;
    }
    ListFilter and_(const ListFilter& other) const { return and_(other.condition, other.parameters); }
};

} // namespace qav
