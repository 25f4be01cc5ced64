#pragma once

#include "media/Elements.h"

#include <QDialog>

#include <functional>
#include <vector>

class QWidget;

namespace kivo {

class MediaEngine;

// The property dialog of one pipeline element, titled with its name: a row
// for every readable property with an editor that fits its type. A change
// goes to the running element at once; a value the element refuses puts
// back what the element holds.
class ElementPropertiesDialog : public QDialog {
    Q_OBJECT

public:
    ElementPropertiesDialog(GstElement* element, const QString& name, QWidget* parent = nullptr);
    ~ElementPropertiesDialog() override;

    // Whether the element has a property the user can change now.
    static bool HasChangeableProperty(GstElement* element);

private:
    // One row: the property and how its editor shows a value.
    struct Row {
        ElementProperty property;
        std::function<void(const QVariant&)> show;
    };

    // The editor of a row, by the kind of its property.
    QWidget* MakeEditor(Row& row);
    QWidget* MakeCheckBox(Row& row);
    QWidget* MakeIntegerBox(Row& row);
    QWidget* MakeRealBox(Row& row);
    QWidget* MakeChoiceBox(Row& row);
    QWidget* MakeFlagBoxes(Row& row);
    // Text, and numbers too wide for a spin box.
    QWidget* MakeLineEdit(Row& row);
    // Values shown only, in GLib's words.
    QWidget* MakeValueText(Row& row);
    // Sets a property and shows what the element then holds.
    void Apply(const QString& name, const QVariant& value);
    void Refresh();

    GstElement* m_element;
    std::vector<Row> m_rows;
};

// Opens the property dialog of the engine's element of this name (modal,
// owned by `owner`). Says so when the pipeline has no such element, or when
// the element has nothing a user can change.
void ShowFilterProperties(MediaEngine& engine, const QString& name, QWidget* owner);

}  // namespace kivo
