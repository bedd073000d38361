#include "comparer/tips/TipsWalker.h"

#include "foundation/text/WideString.h"

using FormattedTextViewControl::AbstractContainer;
using FormattedTextViewControl::Line;
using FormattedTextViewControl::Paragraph;
using FormattedTextViewControl::Tip;

namespace {

bool separatesWords(char16_t c) {
    return c == u'\t' || c == u'\n' || c == u'\r' || c == u' ';
}

} // namespace

bool TipsWalker::for_each(pugi::xml_node& node) {
    switch (node.type()) {
    case pugi::node_element:
        element(node.name());
        break;
    case pugi::node_pcdata:
        text(text::fromUtf8(node.value()));
        break;
    default:
        break;
    }
    return true;
}

void TipsWalker::element(std::string_view name) {
    if (name == "tip") {
        auto tip = std::make_unique<Tip>();
        tip_ = tip.get();
        tips_.append(std::move(tip));
    } else if (name == "p") {
        startContainer(std::make_unique<Paragraph>(), Mode::Words);
    } else if (name == "l") {
        startContainer(std::make_unique<Line>(), Mode::Whole);
    } else if (name == "b") {
        bold_ = true;
    }
}

void TipsWalker::startContainer(std::unique_ptr<AbstractContainer> container, Mode mode) {
    if (!tip_)
        return;
    tip_->startContainer(std::move(container));
    mode_ = mode;
}

void TipsWalker::text(std::u16string_view characters) {
    int style = bold_ ? 1 : 0;
    bold_ = false;
    if (!tip_)
        return;
    // Text straight inside a tip reads as a paragraph, so it is flowed like one.
    if (!tip_->currentContainer())
        startContainer(std::make_unique<Paragraph>(), Mode::Words);
    if (mode_ == Mode::Whole) {
        tip_->appendSegment(characters, style);
        return;
    }
    std::size_t end = 0;
    while (end < characters.size()) {
        std::size_t start = end;
        while (start < characters.size() && separatesWords(characters[start]))
            ++start;
        end = start;
        while (end < characters.size() && !separatesWords(characters[end]))
            ++end;
        if (end > start)
            tip_->appendSegment(characters.substr(start, end - start), style);
    }
}
