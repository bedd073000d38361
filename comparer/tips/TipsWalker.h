#pragma once

// Turns the nodes of a tips document, in document order, into tips:
//   "tip"  starts a tip;
//   "p"    starts a paragraph of it, whose texts are split into words;
//   "l"    starts a line of it, whose texts are kept whole;
//   "b"    makes the next text node bold, wherever it lies;
//   text   becomes segments of the current container (a paragraph is started when the tip
//          has none yet).
// Other elements are ignored but their text still counts; other nodes are skipped.
// Anything before the first "tip" belongs to no tip and is dropped.

#include "comparer/tips/Tips.h"

#include <pugixml.hpp>

#include <string_view>

class TipsWalker : public pugi::xml_tree_walker {
public:
    explicit TipsWalker(Tips& tips) : tips_(tips) {}

    bool for_each(pugi::xml_node& node) override;

private:
    enum class Mode { Words, Whole };

    void element(std::string_view name);
    void text(std::u16string_view characters);
    void startContainer(std::unique_ptr<FormattedTextViewControl::AbstractContainer> container,
                        Mode mode);

    Tips& tips_;
    FormattedTextViewControl::Tip* tip_ = nullptr;
    Mode mode_ = Mode::Words;
    bool bold_ = false;
};
