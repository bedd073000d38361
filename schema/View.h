#pragma once

// Saved queries: a view is a query without parameters; a procedure is any other saved
// query (action queries and queries with a PARAMETERS clause).

#include "schema/Element.h"

#include <string>
#include <vector>

class View : public Element {
public:
    View(std::u16string name, std::u16string text)
        : Element(std::move(name)), text_(std::move(text)) {}

    void accept(IEntityVisitor& visitor) const override;
    ElementKind kind() const override { return ElementKind::View; }

    // The SQL command text as stored.
    const std::u16string& text() const { return text_; }

private:
    std::u16string text_;
};

struct ProcedureParameter {
    std::u16string name;
    int type = 0; // a column type code
    int size = 0;
    int numericScale = 0;
    int precision = 0;
};

class Procedure final : public View {
public:
    using View::View;

    void accept(IEntityVisitor& visitor) const override;
    ElementKind kind() const override { return ElementKind::Procedure; }

    void addParameter(ProcedureParameter parameter);
    const std::vector<ProcedureParameter>& parameters() const { return parameters_; }

private:
    std::vector<ProcedureParameter> parameters_;
};
