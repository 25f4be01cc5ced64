#include "media/Elements.h"

#include <QSet>

#include <cstring>

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

QVariant ToVariant(const GValue* value)
{
    switch (G_TYPE_FUNDAMENTAL(G_VALUE_TYPE(value))) {
    case G_TYPE_BOOLEAN:
        return static_cast<bool>(g_value_get_boolean(value));
    case G_TYPE_INT:
        return g_value_get_int(value);
    case G_TYPE_UINT:
        return g_value_get_uint(value);
    case G_TYPE_LONG:
        return static_cast<qint64>(g_value_get_long(value));
    case G_TYPE_ULONG:
        return static_cast<quint64>(g_value_get_ulong(value));
    case G_TYPE_INT64:
        return static_cast<qint64>(g_value_get_int64(value));
    case G_TYPE_UINT64:
        return static_cast<quint64>(g_value_get_uint64(value));
    case G_TYPE_FLOAT:
        return static_cast<double>(g_value_get_float(value));
    case G_TYPE_DOUBLE:
        return g_value_get_double(value);
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
bool FromVariant(const QVariant& variant, GValue* value)
{
    bool ok = true;
    switch (G_TYPE_FUNDAMENTAL(G_VALUE_TYPE(value))) {
    case G_TYPE_BOOLEAN:
        g_value_set_boolean(value, variant.toBool());
        break;
    case G_TYPE_INT:
        g_value_set_int(value, variant.toInt(&ok));
        break;
    case G_TYPE_UINT:
        g_value_set_uint(value, variant.toUInt(&ok));
        break;
    case G_TYPE_LONG:
        g_value_set_long(value, static_cast<glong>(variant.toLongLong(&ok)));
        break;
    case G_TYPE_ULONG:
        g_value_set_ulong(value, static_cast<gulong>(variant.toULongLong(&ok)));
        break;
    case G_TYPE_INT64:
        g_value_set_int64(value, variant.toLongLong(&ok));
        break;
    case G_TYPE_UINT64:
        g_value_set_uint64(value, variant.toULongLong(&ok));
        break;
    case G_TYPE_FLOAT:
        g_value_set_float(value, variant.toFloat(&ok));
        break;
    case G_TYPE_DOUBLE:
        g_value_set_double(value, variant.toDouble(&ok));
        break;
    case G_TYPE_STRING:
        g_value_set_string(value, variant.toString().toUtf8().constData());
        break;
    case G_TYPE_ENUM:
        g_value_set_enum(value, variant.toInt(&ok));
        break;
    case G_TYPE_FLAGS:
        g_value_set_flags(value, variant.toUInt(&ok));
        break;
    default:
        return false;
    }
    return ok;
}

void DescribeRange(GParamSpec* pspec, ElementProperty& property)
{
    const GType type = G_PARAM_SPEC_VALUE_TYPE(pspec);
    switch (G_TYPE_FUNDAMENTAL(type)) {
    case G_TYPE_BOOLEAN:
        property.kind = ElementProperty::Kind::Boolean;
        break;
    case G_TYPE_INT:
        property.kind = ElementProperty::Kind::Integer;
        property.minimum = G_PARAM_SPEC_INT(pspec)->minimum;
        property.maximum = G_PARAM_SPEC_INT(pspec)->maximum;
        break;
    case G_TYPE_UINT:
        property.kind = ElementProperty::Kind::Integer;
        property.minimum = G_PARAM_SPEC_UINT(pspec)->minimum;
        property.maximum = G_PARAM_SPEC_UINT(pspec)->maximum;
        break;
    case G_TYPE_LONG:
        property.kind = ElementProperty::Kind::Integer;
        property.minimum = static_cast<qint64>(G_PARAM_SPEC_LONG(pspec)->minimum);
        property.maximum = static_cast<qint64>(G_PARAM_SPEC_LONG(pspec)->maximum);
        break;
    case G_TYPE_ULONG:
        property.kind = ElementProperty::Kind::Integer;
        property.minimum = static_cast<quint64>(G_PARAM_SPEC_ULONG(pspec)->minimum);
        property.maximum = static_cast<quint64>(G_PARAM_SPEC_ULONG(pspec)->maximum);
        break;
    case G_TYPE_INT64:
        property.kind = ElementProperty::Kind::Integer;
        property.minimum = static_cast<qint64>(G_PARAM_SPEC_INT64(pspec)->minimum);
        property.maximum = static_cast<qint64>(G_PARAM_SPEC_INT64(pspec)->maximum);
        break;
    case G_TYPE_UINT64:
        property.kind = ElementProperty::Kind::Integer;
        property.minimum = static_cast<quint64>(G_PARAM_SPEC_UINT64(pspec)->minimum);
        property.maximum = static_cast<quint64>(G_PARAM_SPEC_UINT64(pspec)->maximum);
        break;
    case G_TYPE_FLOAT:
        property.kind = ElementProperty::Kind::Real;
        property.minimum = static_cast<double>(G_PARAM_SPEC_FLOAT(pspec)->minimum);
        property.maximum = static_cast<double>(G_PARAM_SPEC_FLOAT(pspec)->maximum);
        break;
    case G_TYPE_DOUBLE:
        property.kind = ElementProperty::Kind::Real;
        property.minimum = G_PARAM_SPEC_DOUBLE(pspec)->minimum;
        property.maximum = G_PARAM_SPEC_DOUBLE(pspec)->maximum;
        break;
    case G_TYPE_STRING:
        property.kind = ElementProperty::Kind::Text;
        break;
    case G_TYPE_ENUM:
    case G_TYPE_FLAGS: {
        const bool isEnum = G_TYPE_FUNDAMENTAL(type) == G_TYPE_ENUM;
        property.kind = isEnum ? ElementProperty::Kind::Choice : ElementProperty::Kind::Flags;
        gpointer typeClass = g_type_class_ref(type);
        if (isEnum) {
            const GEnumClass* values = G_ENUM_CLASS(typeClass);
            for (guint i = 0; i < values->n_values; ++i)
                property.choices.emplace_back(values->values[i].value, QString::fromUtf8(values->values[i].value_nick));
        } else {
            const GFlagsClass* values = G_FLAGS_CLASS(typeClass);
            for (guint i = 0; i < values->n_values; ++i)
                property.choices.emplace_back(values->values[i].value, QString::fromUtf8(values->values[i].value_nick));
        }
        g_type_class_unref(typeClass);
        break;
    }
    default:
        property.kind = ElementProperty::Kind::Other;
        break;
    }
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
