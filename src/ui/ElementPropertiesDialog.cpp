#include "ui/ElementPropertiesDialog.h"

#include "media/MediaEngine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <climits>
#include <cmath>
#include <memory>

namespace kivo {
namespace {

using Kind = ElementProperty::Kind;

// A parented element cannot be renamed, so its name is shown only.
bool IsEditable(GstElement* element, const ElementProperty& property)
{
    if (!property.writable)
        return false;
    return property.name != QLatin1String("name") || GST_OBJECT_PARENT(element) == nullptr;
}

// GLib's own rendering of a value no editor fits (caps, objects, ...).
QString ValueContents(GstElement* element, const QString& name)
{
    GParamSpec* pspec = g_object_class_find_property(G_OBJECT_GET_CLASS(element), name.toUtf8().constData());
    if (pspec == nullptr)
        return {};
    GValue value = G_VALUE_INIT;
    g_value_init(&value, G_PARAM_SPEC_VALUE_TYPE(pspec));
    g_object_get_property(G_OBJECT(element), pspec->name, &value);
    gchar* contents = g_strdup_value_contents(&value);
    const QString text = QString::fromUtf8(contents);
    g_free(contents);
    g_value_unset(&value);
    return text;
}

bool FitsInInt(const ElementProperty& property)
{
    return property.minimum.toDouble() >= INT_MIN && property.maximum.toDouble() <= INT_MAX;
}

// Spin boxes are for ranges a person would step through; wider ones
// (64-bit counts, "any double") are typed into a line edit.
bool IsModestRange(const ElementProperty& property)
{
    return std::fabs(property.minimum.toDouble()) <= 1e9 && std::fabs(property.maximum.toDouble()) <= 1e9;
}

QString NumberText(const QVariant& value)
{
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 17);
    return value.toString();
}

}  // namespace

ElementPropertiesDialog::ElementPropertiesDialog(GstElement* element, const QString& name, QWidget* parent)
    : QDialog(parent), m_element(GST_ELEMENT(gst_object_ref(element)))
{
    setWindowTitle(name);
    auto* form = new QFormLayout;
    for (ElementProperty& property : DescribeProperties(m_element))
        m_rows.push_back({std::move(property), {}});
    for (Row& row : m_rows) {
        QWidget* editor = MakeEditor(row);
        editor->setObjectName(row.property.name);
        editor->setToolTip(row.property.blurb);
        editor->setEnabled(IsEditable(m_element, row.property));
        row.show(row.property.value);
        auto* label = new QLabel(row.property.name);
        label->setToolTip(row.property.blurb);
        form->addRow(label, editor);
    }

    auto* rows = new QWidget;
    rows->setLayout(form);
    auto* scroll = new QScrollArea;
    scroll->setWidget(rows);
    scroll->setWidgetResizable(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(buttons);
    resize(qMax(420, rows->sizeHint().width() + 40), qMin(520, rows->sizeHint().height() + 80));
}

ElementPropertiesDialog::~ElementPropertiesDialog()
{
    gst_object_unref(m_element);
}

bool ElementPropertiesDialog::HasChangeableProperty(GstElement* element)
{
    for (const ElementProperty& property : DescribeProperties(element)) {
        if (IsEditable(element, property))
            return true;
    }
    return false;
}

QWidget* ElementPropertiesDialog::MakeEditor(Row& row)
{
    switch (row.property.kind) {
    case Kind::Boolean:
        return MakeCheckBox(row);
    case Kind::Integer:
        return FitsInInt(row.property) ? MakeIntegerBox(row) : MakeLineEdit(row);
    case Kind::Real:
        return IsModestRange(row.property) ? MakeRealBox(row) : MakeLineEdit(row);
    case Kind::Choice:
        return MakeChoiceBox(row);
    case Kind::Flags:
        return MakeFlagBoxes(row);
    case Kind::Text:
        return MakeLineEdit(row);
    case Kind::Other:
        break;
    }
    return MakeValueText(row);
}

QWidget* ElementPropertiesDialog::MakeCheckBox(Row& row)
{
    auto* box = new QCheckBox;
    row.show = [box](const QVariant& value) {
        const QSignalBlocker blocker(box);
        box->setChecked(value.toBool());
    };
    connect(box, &QCheckBox::toggled, this, [this, name = row.property.name](bool on) { Apply(name, on); });
    return box;
}

QWidget* ElementPropertiesDialog::MakeIntegerBox(Row& row)
{
    auto* spin = new QSpinBox;
    spin->setRange(row.property.minimum.toInt(), row.property.maximum.toInt());
    spin->setKeyboardTracking(false);
    row.show = [spin](const QVariant& value) {
        const QSignalBlocker blocker(spin);
        spin->setValue(value.toInt());
    };
    connect(spin, &QSpinBox::valueChanged, this, [this, name = row.property.name](int value) { Apply(name, value); });
    return spin;
}

QWidget* ElementPropertiesDialog::MakeRealBox(Row& row)
{
    const double minimum = row.property.minimum.toDouble();
    const double maximum = row.property.maximum.toDouble();
    auto* spin = new QDoubleSpinBox;
    spin->setDecimals(4);
    spin->setRange(minimum, maximum);
    spin->setSingleStep(maximum - minimum <= 10.0 ? 0.01 : 1.0);
    spin->setKeyboardTracking(false);
    row.show = [spin](const QVariant& value) {
        const QSignalBlocker blocker(spin);
        spin->setValue(value.toDouble());
    };
    connect(spin, &QDoubleSpinBox::valueChanged, this,
            [this, name = row.property.name](double value) { Apply(name, value); });
    return spin;
}

QWidget* ElementPropertiesDialog::MakeChoiceBox(Row& row)
{
    auto* combo = new QComboBox;
    for (const auto& [value, nick] : row.property.choices)
        combo->addItem(nick, value);
    row.show = [combo](const QVariant& value) {
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(combo->findData(value.toLongLong()));
    };
    connect(combo, &QComboBox::activated, this, [this, name = row.property.name, combo](int index) {
        Apply(name, combo->itemData(index).toInt());
    });
    return combo;
}

QWidget* ElementPropertiesDialog::MakeFlagBoxes(Row& row)
{
    auto* flags = new QWidget;
    auto* grid = new QGridLayout(flags);
    grid->setContentsMargins(0, 0, 0, 0);
    auto shown = std::make_shared<quint32>(0);
    std::vector<std::pair<QCheckBox*, quint32>> boxes;
    for (const auto& [value, nick] : row.property.choices) {
        if (value == 0)
            continue;
        auto* box = new QCheckBox(nick);
        const auto bits = static_cast<quint32>(value);
        const int at = static_cast<int>(boxes.size());
        grid->addWidget(box, at / 2, at % 2);
        boxes.emplace_back(box, bits);
        connect(box, &QCheckBox::toggled, this, [this, name = row.property.name, shown, bits](bool on) {
            Apply(name, on ? (*shown | bits) : (*shown & ~bits));
        });
    }
    row.show = [boxes, shown](const QVariant& value) {
        *shown = value.toUInt();
        for (const auto& [box, bits] : boxes) {
            const QSignalBlocker blocker(box);
            box->setChecked((*shown & bits) == bits);
        }
    };
    return flags;
}

QWidget* ElementPropertiesDialog::MakeLineEdit(Row& row)
{
    auto* edit = new QLineEdit;
    const Kind kind = row.property.kind;
    row.show = [edit, kind](const QVariant& value) {
        edit->setText(kind == Kind::Text ? value.toString() : NumberText(value));
        edit->setModified(false);
    };
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, name = row.property.name, kind] {
        if (!edit->isModified())
            return;
        if (kind == Kind::Real) {
            bool ok = false;
            const double value = edit->text().trimmed().toDouble(&ok);
            if (ok)
                Apply(name, value);
            else
                Refresh();
        } else {
            // Integers are parsed as the property's own type, so that a
            // number beyond it is refused rather than cut.
            Apply(name, kind == Kind::Text ? edit->text() : edit->text().trimmed());
        }
    });
    return edit;
}

QWidget* ElementPropertiesDialog::MakeValueText(Row& row)
{
    auto* edit = new QLineEdit;
    edit->setReadOnly(true);
    row.show = [this, edit, name = row.property.name](const QVariant&) {
        edit->setText(ValueContents(m_element, name));
    };
    return edit;
}

void ElementPropertiesDialog::Apply(const QString& name, const QVariant& value)
{
    SetElementProperty(m_element, name, value);
    Refresh();
}

void ElementPropertiesDialog::Refresh()
{
    const std::vector<ElementProperty> properties = DescribeProperties(m_element);
    for (Row& row : m_rows) {
        for (const ElementProperty& property : properties) {
            if (property.name == row.property.name) {
                row.show(property.value);
                break;
            }
        }
    }
}

void ShowFilterProperties(MediaEngine& engine, const QString& name, QWidget* owner)
{
    GstElement* element = engine.FindFilterByName(name);
    if (element == nullptr) {
        QMessageBox::critical(owner, QStringLiteral("Kivo231"), QStringLiteral("Filter not found in the graph!"));
        return;
    }
    if (!ElementPropertiesDialog::HasChangeableProperty(element)) {
        gst_object_unref(element);
        QMessageBox::warning(owner, name, ElementPropertiesDialog::tr("%1 のﾌﾟﾛﾊﾟﾃｨﾍﾟｰｼﾞは表示できません。").arg(name));
        return;
    }
    ElementPropertiesDialog dialog(element, name, owner);
    gst_object_unref(element);
    dialog.exec();
}

}  // namespace kivo
