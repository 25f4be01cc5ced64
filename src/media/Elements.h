#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <gst/gst.h>

#include <functional>
#include <utility>
#include <vector>

namespace kivo {

// Elements of a pipeline, named as the user sees them: by the long name of
// their factory.

// Calls `visit` for every element inside `bin`, depth first, until it
// returns false.
void ForEachElement(GstBin* bin, const std::function<bool(GstElement*)>& visit);

// Whether an element of the factory is anywhere inside `bin`.
bool BinContainsFactory(GstBin* bin, const char* factoryName);

// The long names of the registered element factories that have a sink pad
// template, in registry order, of which an element (of that long name) is
// in the pipeline. A name shared by several factories comes once per factory.
QStringList FiltersInPipeline(GstBin* pipeline);

// The first element met in a depth-first walk of the pipeline whose
// factory has this long name, as a new reference; null when there is none.
GstElement* FindElementByFactoryName(GstBin* pipeline, const QString& longName);

// One property of an element, as an editor shows it.
struct ElementProperty {
    enum class Kind { Boolean, Integer, Real, Text, Choice, Flags, Other };

    QString name;
    QString nick;
    QString blurb;
    Kind kind = Kind::Other;
    QVariant value;    // empty when the property cannot be read
    QVariant minimum;  // for numbers
    QVariant maximum;
    std::vector<std::pair<qint64, QString>> choices;  // values and names of a choice or of flags
    bool writable = false;  // can be changed now, in the element's current state
};

// The properties a user can see: the readable ones, in the element's order.
std::vector<ElementProperty> DescribeProperties(GstElement* element);

// Sets a property on the running element. False when the property does not
// exist, cannot be changed now, or the value does not fit its type or range.
bool SetElementProperty(GstElement* element, const QString& name, const QVariant& value);

}  // namespace kivo
