#include "media/Elements.h"

#include <QSet>

#include <cstring>
#include <type_traits>

namespace kivo {

void ForEachElement(GstBin* bin, const std::function<bool(GstElement*)>& visit)
{
    GstIterator* iterator = gst_bin_iterate_recurse(bin);
    GValue item = G_VALUE_INIT;
    bool going = true;
    while (going) {
        switch (gst_iterator_next(iterator, &item)) {
        case GST_ITERATOR_OK:
            going = visit(GST_ELEMENT(g_value_get_object(&item)));
            g_value_reset(&item);
            break;
        case GST_ITERATOR_RESYNC:
            gst_iterator_resync(iterator);
            break;
        default:
            going = false;
            break;
        }
    }
    g_value_unset(&item);
    gst_iterator_free(iterator);
}

namespace {

QString LongName(GstElementFactory* factory)
{
    return QString::fromUtf8(gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_LONGNAME));
}

QString FactoryLongName(GstElement* element)
{
    GstElementFactory* factory = gst_element_get_factory(element);
    return factory == nullptr ? QString() : LongName(factory);
}

bool HasSinkTemplate(GstElementFactory* factory)
{
    for (const GList* pad = gst_element_factory_get_static_pad_templates(factory); pad != nullptr; pad = pad->next) {
        if (static_cast<GstStaticPadTemplate*>(pad->data)->direction == GST_PAD_SINK)
            return true;
    }
    return false;
}

bool IsChangeableNow(GParamSpec* pspec, GstElement* element)
{
    if ((pspec->flags & G_PARAM_WRITABLE) == 0 || (pspec->flags & G_PARAM_CONSTRUCT_ONLY) != 0)
        return false;
    const GstState state = GST_STATE(element);
    if ((pspec->flags & GST_PARAM_MUTABLE_PLAYING) != 0)
        return true;
    if ((pspec->flags & GST_PARAM_MUTABLE_PAUSED) != 0)
        return state <= GST_STATE_PAUSED;
    if ((pspec->flags & GST_PARAM_MUTABLE_READY) != 0)
        return state <= GST_STATE_READY;
    return true;
}

// The type a number is read and written as: every integer as a 64-bit one
// of its signedness, every real as a double; G_TYPE_INVALID for others.
GType WideType(GType fundamental)
{
    switch (fundamental) {
    case G_TYPE_INT:
    case G_TYPE_LONG:
    case G_TYPE_INT64:
        return G_TYPE_INT64;
    case G_TYPE_UINT:
    case G_TYPE_ULONG:
    case G_TYPE_UINT64:
        return G_TYPE_UINT64;
    case G_TYPE_FLOAT:
    case G_TYPE_DOUBLE:
        return G_TYPE_DOUBLE;
    default:
        return G_TYPE_INVALID;
    }
}

QVariant WideToVariant(const GValue* wide)
{
    switch (G_VALUE_TYPE(wide)) {
    case G_TYPE_INT64:
        return static_cast<qint64>(g_value_get_int64(wide));
    case G_TYPE_UINT64:
        return static_cast<quint64>(g_value_get_uint64(wide));
    default:
        return g_value_get_double(wide);
    }
}

QVariant ToVariant(const GValue* value)
{
    const GType type = G_TYPE_FUNDAMENTAL(G_VALUE_TYPE(value));
    if (const GType wide = WideType(type); wide != G_TYPE_INVALID) {
        GValue widened = G_VALUE_INIT;
        g_value_init(&widened, wide);
        g_value_transform(value, &widened);
        return WideToVariant(&widened);
    }
    switch (type) {
    case G_TYPE_BOOLEAN:
        return static_cast<bool>(g_value_get_boolean(value));
    case G_TYPE_STRING:
        return QString::fromUtf8(g_value_get_string(value));
    case G_TYPE_ENUM:
        return g_value_get_enum(value);
    case G_TYPE_FLAGS:
        return g_value_get_flags(value);
    default:
        return {};
    }
}

// Fills an initialised value from a variant; false when it does not convert.
// A number is taken as its wide type, and an integer is refused unless the
// value's own type holds it whole.
bool FromVariant(const QVariant& variant, GValue* value)
{
    const GType type = G_TYPE_FUNDAMENTAL(G_VALUE_TYPE(value));
    bool ok = true;
    if (const GType wide = WideType(type); wide != G_TYPE_INVALID) {
        GValue widened = G_VALUE_INIT;
        g_value_init(&widened, wide);
        if (wide == G_TYPE_INT64)
            g_value_set_int64(&widened, variant.toLongLong(&ok));
        else if (wide == G_TYPE_UINT64)
            g_value_set_uint64(&widened, variant.toULongLong(&ok));
        else
            g_value_set_double(&widened, variant.toDouble(&ok));
        return ok && g_value_transform(&widened, value) &&
               (wide == G_TYPE_DOUBLE || ToVariant(value) == WideToVariant(&widened));
    }
    switch (type) {
    case G_TYPE_BOOLEAN:
        g_value_set_boolean(value, variant.toBool());
        return true;
    case G_TYPE_STRING:
        g_value_set_string(value, variant.toString().toUtf8().constData());
        return true;
    case G_TYPE_ENUM:
        g_value_set_enum(value, variant.toInt(&ok));
        return ok;
    case G_TYPE_FLAGS:
        g_value_set_flags(value, variant.toUInt(&ok));
        return ok;
    default:
        return false;
    }
}

// The bounds of a numeric parameter, in its wide type.
template <typename NumericParam>
void DescribeBounds(GParamSpec* pspec, ElementProperty& property)
{
    const auto* numeric = reinterpret_cast<const NumericParam*>(pspec);
    using Bound = decltype(numeric->minimum);
    using Wide = std::conditional_t<std::is_floating_point_v<Bound>, double,
                                    std::conditional_t<std::is_signed_v<Bound>, qint64, quint64>>;
    property.minimum = QVariant::fromValue(static_cast<Wide>(numeric->minimum));
    property.maximum = QVariant::fromValue(static_cast<Wide>(numeric->maximum));
}

void DescribeRange(GParamSpec* pspec, ElementProperty& property)
{
    using Kind = ElementProperty::Kind;
    const GType type = G_TYPE_FUNDAMENTAL(G_PARAM_SPEC_VALUE_TYPE(pspec));
    const GType wide = WideType(type);
    property.kind = wide == G_TYPE_DOUBLE ? Kind::Real : wide != G_TYPE_INVALID ? Kind::Integer : Kind::Other;
    switch (type) {
    case G_TYPE_INT:
        return DescribeBounds<GParamSpecInt>(pspec, property);
    case G_TYPE_UINT:
        return DescribeBounds<GParamSpecUInt>(pspec, property);
    case G_TYPE_LONG:
        return DescribeBounds<GParamSpecLong>(pspec, property);
    case G_TYPE_ULONG:
        return DescribeBounds<GParamSpecULong>(pspec, property);
    case G_TYPE_INT64:
        return DescribeBounds<GParamSpecInt64>(pspec, property);
    case G_TYPE_UINT64:
        return DescribeBounds<GParamSpecUInt64>(pspec, property);
    case G_TYPE_FLOAT:
        return DescribeBounds<GParamSpecFloat>(pspec, property);
    case G_TYPE_DOUBLE:
        return DescribeBounds<GParamSpecDouble>(pspec, property);
    case G_TYPE_BOOLEAN:
        property.kind = Kind::Boolean;
        return;
    case G_TYPE_STRING:
        property.kind = Kind::Text;
        return;
    case G_TYPE_ENUM:
    case G_TYPE_FLAGS:
        break;
    default:
        return;
    }
    property.kind = type == G_TYPE_ENUM ? Kind::Choice : Kind::Flags;
    gpointer typeClass = g_type_class_ref(G_PARAM_SPEC_VALUE_TYPE(pspec));
    if (type == G_TYPE_ENUM) {
        const GEnumClass* values = G_ENUM_CLASS(typeClass);
        for (guint i = 0; i < values->n_values; ++i)
            property.choices.emplace_back(values->values[i].value, QString::fromUtf8(values->values[i].value_nick));
    } else {
        const GFlagsClass* values = G_FLAGS_CLASS(typeClass);
        for (guint i = 0; i < values->n_values; ++i)
            property.choices.emplace_back(values->values[i].value, QString::fromUtf8(values->values[i].value_nick));
    }
    g_type_class_unref(typeClass);
}

}  // namespace

bool BinContainsFactory(GstBin* bin, const char* factoryName)
{
    bool found = false;
    ForEachElement(bin, [&](GstElement* element) {
        GstElementFactory* factory = gst_element_get_factory(element);
        found = factory != nullptr && std::strcmp(GST_OBJECT_NAME(factory), factoryName) == 0;
        return !found;
    });
    return found;
}

QStringList FiltersInPipeline(GstBin* pipeline)
{
    QSet<QString> present;
    ForEachElement(pipeline, [&](GstElement* element) {
        present.insert(FactoryLongName(element));
        return true;
    });
    QStringList names;
    GList* factories = gst_registry_get_feature_list(gst_registry_get(), GST_TYPE_ELEMENT_FACTORY);
    for (GList* item = factories; item != nullptr; item = item->next) {
        auto* factory = GST_ELEMENT_FACTORY(item->data);
        if (!HasSinkTemplate(factory))
            continue;
        const QString name = LongName(factory);
        if (present.contains(name))
            names.append(name);
    }
    gst_plugin_feature_list_free(factories);
    return names;
}

GstElement* FindElementByFactoryName(GstBin* pipeline, const QString& longName)
{
    GstElement* found = nullptr;
    ForEachElement(pipeline, [&](GstElement* element) {
        if (FactoryLongName(element) != longName)
            return true;
        found = GST_ELEMENT(gst_object_ref(element));
        return false;
    });
    return found;
}

std::vector<ElementProperty> DescribeProperties(GstElement* element)
{
    std::vector<ElementProperty> properties;
    guint count = 0;
    GParamSpec** specs = g_object_class_list_properties(G_OBJECT_GET_CLASS(element), &count);
    for (guint i = 0; i < count; ++i) {
        GParamSpec* pspec = specs[i];
        if ((pspec->flags & G_PARAM_READABLE) == 0)
            continue;
        ElementProperty property;
        property.name = QString::fromUtf8(g_param_spec_get_name(pspec));
        property.nick = QString::fromUtf8(g_param_spec_get_nick(pspec));
        property.blurb = QString::fromUtf8(g_param_spec_get_blurb(pspec));
        DescribeRange(pspec, property);
        GValue value = G_VALUE_INIT;
        g_value_init(&value, G_PARAM_SPEC_VALUE_TYPE(pspec));
        g_object_get_property(G_OBJECT(element), pspec->name, &value);
        property.value = ToVariant(&value);
        g_value_unset(&value);
        property.writable = property.kind != ElementProperty::Kind::Other && IsChangeableNow(pspec, element);
        properties.push_back(std::move(property));
    }
    g_free(specs);
    return properties;
}

bool SetElementProperty(GstElement* element, const QString& name, const QVariant& value)
{
    GParamSpec* pspec = g_object_class_find_property(G_OBJECT_GET_CLASS(element), name.toUtf8().constData());
    if (pspec == nullptr || !IsChangeableNow(pspec, element))
        return false;
    GValue converted = G_VALUE_INIT;
    g_value_init(&converted, G_PARAM_SPEC_VALUE_TYPE(pspec));
    // g_param_value_validate corrects a value that is out of range; such a
    // value is refused rather than silently changed.
    const bool fits = FromVariant(value, &converted) && !g_param_value_validate(pspec, &converted);
    if (fits)
        g_object_set_property(G_OBJECT(element), pspec->name, &converted);
    g_value_unset(&converted);
    return fits;
}

}  // namespace kivo
