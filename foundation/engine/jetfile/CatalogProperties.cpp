#include "foundation/engine/jetfile/CatalogProperties.h"

#include "foundation/engine/jetfile/TableDesign.h"
#include "foundation/text/WideString.h"

#include <cstring>

namespace engine::jetfile {

namespace {

constexpr std::uint8_t ddl = Property::ddlFlag;

template <typename T> Bytes littleEndian(T value) {
    Bytes bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

std::int64_t integral(const catalog::Property& p) {
    std::optional<std::int64_t> value = p.value.toInt();
    if (!value)
        throw DefinitionRefused("Property '" + text::toUtf8(p.name) + "' needs a whole number.");
    return *value;
}

double real(const catalog::Property& p) {
    std::optional<double> value = p.value.toDouble();
    if (!value)
        throw DefinitionRefused("Property '" + text::toUtf8(p.name) + "' needs a number.");
    return *value;
}

// A text property set when the model has text, removed when it has none.
void setText(PropertyBlob& blob, std::u16string_view object, std::u16string name,
             std::u16string_view value, bool memo) {
    if (value.empty()) {
        blob.remove(object, name);
        return;
    }
    blob.set(object, memo ? Property::memo(std::move(name), value, ddl)
                          : Property::text(std::move(name), value, ddl));
}

void setFlag(PropertyBlob& blob, std::u16string_view object, std::u16string name, bool on) {
    if (on)
        blob.set(object, Property::boolean(std::move(name), true, ddl));
    else
        blob.remove(object, name);
}

bool sameProperty(const catalog::Property& a, const catalog::Property& b) {
    return text::equalsNoCase(a.name, b.name) && a.type == b.type && a.value == b.value;
}

const catalog::Property* named(const std::vector<catalog::Property>& list,
                               std::u16string_view name) {
    for (const catalog::Property& p : list)
        if (text::equalsNoCase(p.name, name))
            return &p;
    return nullptr;
}

void applyNamed(PropertyBlob& blob, std::u16string_view object,
                const std::vector<catalog::Property>* before,
                const std::vector<catalog::Property>& after) {
    if (before != nullptr)
        for (const catalog::Property& p : *before)
            if (!named(after, p.name))
                blob.remove(object, p.name);
    for (const catalog::Property& p : after) {
        const catalog::Property* old = before != nullptr ? named(*before, p.name) : nullptr;
        if (old == nullptr || !sameProperty(*old, p))
            blob.set(object, storedProperty(p));
    }
}

} // namespace

Property storedProperty(const catalog::Property& p) {
    Property stored{p.name, ddl, std::uint8_t(p.type), {}, {}};
    switch (p.type) {
    case daotype::text:
    case daotype::memo: {
        std::optional<std::u16string> value = p.value.toText();
        if (!value)
            throw DefinitionRefused("Property '" + text::toUtf8(p.name) + "' needs text.");
        return p.type == daotype::memo ? Property::memo(p.name, *value, ddl)
                                       : Property::text(p.name, *value, ddl);
    }
    case daotype::boolean:
        return Property::boolean(p.name, integral(p) != 0, ddl);
    case daotype::byte:
        stored.value = {std::uint8_t(integral(p))};
        return stored;
    case daotype::integer:
        stored.value = littleEndian(std::int16_t(integral(p)));
        return stored;
    case daotype::longInteger:
        return Property::longInteger(p.name, std::int32_t(integral(p)), ddl);
    case daotype::single:
        stored.value = littleEndian(float(real(p)));
        return stored;
    case daotype::doubleType:
    case daotype::date:
        stored.value = littleEndian(real(p));
        return stored;
    case daotype::binary:
    case daotype::guid:
        if (!p.value.isByteArray())
            throw DefinitionRefused("Property '" + text::toUtf8(p.name) + "' needs bytes.");
        stored.value = p.value.asBytes();
        return stored;
    default:
        throw DefinitionRefused("Property '" + text::toUtf8(p.name) +
                                "' has a type this writer does not store.");
    }
}

void applyTableProperties(PropertyBlob& blob, const catalog::Table* before,
                          const catalog::Table& after) {
    if (!before || before->validationRule != after.validationRule)
        setText(blob, u"", u"ValidationRule", after.validationRule, true);
    if (!before || before->validationText != after.validationText)
        setText(blob, u"", u"ValidationText", after.validationText, false);
}

void applyColumnProperties(PropertyBlob& blob, const catalog::Column* before,
                           const catalog::Column& after) {
    auto changed = [&](auto member) { return !before || before->*member != after.*member; };
    const std::u16string& c = after.name;
    if (changed(&catalog::Column::nullable))
        setFlag(blob, c, u"Required", !after.nullable);
    if (changed(&catalog::Column::defaultValue)) {
        if (after.defaultValue)
            blob.set(c, Property::memo(u"DefaultValue", *after.defaultValue, ddl));
        else
            blob.remove(c, u"DefaultValue");
    }
    bool textual = after.type == type::varWChar || after.type == type::wChar ||
                   after.type == type::longVarWChar;
    if (changed(&catalog::Column::allowZeroLength))
        setFlag(blob, c, u"AllowZeroLength", textual && after.allowZeroLength);
    if (changed(&catalog::Column::validationRule))
        setText(blob, c, u"ValidationRule", after.validationRule, true);
    if (changed(&catalog::Column::validationText))
        setText(blob, c, u"ValidationText", after.validationText, false);
    applyNamed(blob, c, before != nullptr ? &before->properties : nullptr, after.properties);
}

PropertyBlob propertiesOf(const catalog::Table& table) {
    PropertyBlob blob;
    applyTableProperties(blob, nullptr, table);
    for (const catalog::Column& c : table.columns)
        applyColumnProperties(blob, nullptr, c);
    return blob;
}

} // namespace engine::jetfile
