#pragma once
// The parsed form of a dialect expression.

#include <QDateTime>
#include <QString>
#include <memory>
#include <vector>

namespace SqlDialect {

struct Node;
using NodePtr = std::unique_ptr<Node>;

struct Node
{
    enum class Kind {
        Null,
        Boolean,  // flag
        Number,   // text as written, with a leading '-' when negated
        Text,     // text
        Date,     // date
        Column,   // qualifier, text
        Call,     // text = function name as written; children = arguments
        Negate,   // children[0]
        Not,      // children[0]
        Binary,   // text = "+", "-", "*", "/", "\", "MOD"; two children
        Logical,  // text = "AND" or "OR"; two or more children
        Concat,   // '&'; two or more children
        Compare,  // text = "=", "<>", "<", "<=", ">", ">="; two children
        Like,     // value, pattern; flag = Not Like
        Between,  // value, low, high; flag = Not Between
        In,       // value, then the items; flag = Not In
        IsNull,   // value; flag = Is Not Null
    };

    Kind kind = Kind::Null;
    int position = 0; // in the source text
    QString text;
    QString qualifier;
    QDateTime date;
    bool flag = false;
    std::vector<NodePtr> children;
    // An estimate of how deeply the SQL emitted for this node nests, bounded
    // so that neither the translator nor SQLite runs out of depth.
    int depth = 1;
};

} // namespace SqlDialect
