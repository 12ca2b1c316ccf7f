#pragma once
// A list's filter: an SQL condition on the table's columns with its ? parameters.

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qav {

// A parameter of an indexed filter that takes the index's question for a key too short for its
// pieces (ListFilter::Indexed::terms), known only once the index's vocabulary has been read.
struct IndexTerms {};

struct ListFilter {
    std::string condition; // empty: every record
    std::vector<QVariant> parameters;

    // The same records found through a search index (a name searched by any part of it): the
    // condition narrows the records to the index's candidates first. Which of the two a walk or a
    // count runs is a matter of speed only (see PagedWalk): their answers are the same.
    struct Indexed {
        std::string condition;
        std::vector<QVariant> parameters;
        // "SELECT count(*) FROM (... LIMIT ?)" with its parameters before the limit: how many
        // candidates the index gives, counted no further than the limit.
        std::string candidates{};
        std::vector<QVariant> candidateParameters{};
        // "SELECT count(*) FROM <index> WHERE ..." with its parameters when the index alone counts
        // the matches of the whole filter exactly (see containsTextWhere); empty otherwise.
        std::string count{};
        std::vector<QVariant> countParameters{};
        // A key shorter than the index's pieces of three characters ("li") is asked of it as every
        // piece that begins with it ("lin", "lim", ...). `terms` reads them from the vocabulary of the
        // index `termsIndex` (a table "temp.<index>_termos" made on first use) and gives how many there
        // are and the question that takes them all; the IndexTerms parameters above become that
        // question before anything else runs. Empty for a key long enough.
        std::string termsIndex{};
        std::string terms{};
        std::vector<QVariant> termsParameters{};
    };
    std::optional<Indexed> indexed{};

    // The same records, said as "the accent-free text of the searched field holds `piece`, and the
    // table's list filter fields (schema::searchFilterFields) hold `values`, the first ones in order":
    // a list that keeps those texts in memory (SearchMemory) answers it without a scan.
    struct InMemory {
        int field = -1;
        QString piece;
        std::vector<std::int64_t> values;
    };
    std::optional<InMemory> inMemory{};

    // This filter AND another condition.
    ListFilter and_(const std::string& other, std::vector<QVariant> otherParameters = {}) const {
        return and_(ListFilter{other, std::move(otherParameters), {}});
    }
    ListFilter and_(const ListFilter& other) const {
        if (other.condition.empty())
            return *this;
        ListFilter result; // another condition is not in the texts kept in memory
        result.condition = both(condition, other.condition);
        result.parameters = parameters;
        result.parameters.insert(result.parameters.end(), other.parameters.begin(), other.parameters.end());
        if (indexed || other.indexed) {
            // Each side through its index when it has one; the first index tells the candidates.
            const Indexed mine = indexed ? *indexed : Indexed{condition, parameters, {}, {}};
            // One short key is read per filter: a second one is checked on the records as they come.
            const Indexed theirs = other.indexed && (mine.terms.empty() || other.indexed->terms.empty())
                                       ? *other.indexed
                                       : Indexed{other.condition, other.parameters, {}, {}};
            Indexed joined{both(mine.condition, theirs.condition), mine.parameters, mine.candidates,
                           mine.candidateParameters};
            joined.parameters.insert(joined.parameters.end(), theirs.parameters.begin(),
                                     theirs.parameters.end());
            // Another condition is not in the index: its count no longer answers for the whole.
            joined.count.clear();
            joined.countParameters.clear();
            if (joined.candidates.empty()) {
                joined.candidates = theirs.candidates;
                joined.candidateParameters = theirs.candidateParameters;
            }
            const Indexed& withTerms = mine.terms.empty() ? theirs : mine;
            joined.termsIndex = withTerms.termsIndex;
            joined.terms = withTerms.terms;
            joined.termsParameters = withTerms.termsParameters;
            result.indexed = std::move(joined);
        }
        return result;
    }

private:
    static std::string both(const std::string& a, const std::string& b) {
        return a.empty() ? b : "(" + a + ") AND (" + b + ")";
    }
};

} // namespace qav

Q_DECLARE_METATYPE(qav::IndexTerms)
