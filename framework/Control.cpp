#include "framework/Control.h"

#include "framework/FileType.h"
#include "framework/Native.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>

#include <algorithm>
#include <optional>

namespace Quorvane {

struct RectControl::Native {
    explicit Native(std::unique_ptr<QWidget> made) : widget(std::move(made)) {}
    WidgetHandle<QWidget> widget;
};

namespace {

// The action a drop is taken with: a link where the source offers one, else a copy. A drag that
// offers neither is refused: taken as a move, it would tell the source that its folder was moved
// away, and the source must never let go of what it dragged.
std::optional<Qt::DropAction> ChosenAction(const QDropEvent& event)
{
    if (event.possibleActions() & Qt::LinkAction)
        return Qt::LinkAction;
    if (event.possibleActions() & Qt::CopyAction)
        return Qt::CopyAction;
    return std::nullopt;
}

// The framework's number for a drop action: 1 copy, 2 move, 3 link, 0 anything else.
Int32 ActionNumber(Qt::DropAction action)
{
    switch (action) {
    case Qt::CopyAction: return 1;
    case Qt::MoveAction: return 2;
    case Qt::LinkAction: return 3;
    default: return 0;
    }
}

// The items of the drag's address list, as the drop handler will see them.
std::vector<DragItem::Item> CarriedItems(const QMimeData& carried)
{
    const QByteArray list = carried.data(QStringLiteral("text/uri-list"));
    return DragItem::ItemsOfAddressList(String(list.constData(), static_cast<size_t>(list.size())));
}

// The canvas's widget: draws the backdrop and the Paint handler's drawing, and reports presses
// and drops to the canvas.
class CanvasWidget final : public QWidget {
public:
    explicit CanvasWidget(Canvas& owner) : m_owner(owner) { setAcceptDrops(true); }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        DispatchEvent([&] {
            if (const Ref<Picture>& backdrop = m_owner.Backdrop())
                painter.drawImage(0, 0, NativeAccess::Image(*backdrop));
            Ref<Graphics> graphics = NativeAccess::GraphicsOn(painter);
            struct DetachAtEnd {
                Graphics& graphics;
                ~DetachAtEnd() { NativeAccess::Detach(graphics); }
            } detach{*graphics};
            const QRect area = event->rect();
            std::vector<Ref<Rect>> areas{Rect::New(area.x(), area.y(), area.width(), area.height())};
            m_owner.RaiseEvent<void, Ref<Canvas>, Ref<Graphics>, std::vector<Ref<Rect>>>(
                "Paint", RefTo(m_owner), graphics, std::move(areas));
        });
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        const QPoint at = event->position().toPoint();
        Boolean claimed = false;
        DispatchEvent([&] {
            claimed = m_owner.RaiseEvent<Boolean, Ref<Canvas>, Int32, Int32>(
                "MouseDown", RefTo(m_owner), at.x(), at.y());
        });
        event->setAccepted(claimed);
    }

    void dragEnterEvent(QDragEnterEvent* event) override { Judge(*event, CarriedItems(*event->mimeData())); }
    void dragMoveEvent(QDragMoveEvent* event) override { Judge(*event, CarriedItems(*event->mimeData())); }

    void dropEvent(QDropEvent* event) override
    {
        std::vector<DragItem::Item> items = CarriedItems(*event->mimeData());
        if (!Judge(*event, items))
            return;
        const Int32 action = ActionNumber(event->dropAction());
        // The drop is raised from the event loop once Qt's drop event has returned, so that the
        // dragging program is told at once that the drop is over, whatever the handler shows.
        QMetaObject::invokeMethod(
            this,
            [self = RefTo(m_owner), items = std::move(items), action] {
                DispatchEvent([&] {
                    self->RaiseEvent<void, Ref<Canvas>, Ref<DragItem>, Int32>(
                        "DropObject", self, DragItem::New(items), action);
                });
            },
            Qt::QueuedConnection);
    }

private:
    // Accepts the drag when the source offers a link or a copy and the item that the drop handler
    // will use, the first, is a local entry of an admitted file type; refuses it otherwise. Says
    // which.
    bool Judge(QDropEvent& event, const std::vector<DragItem::Item>& items)
    {
        const std::optional<Qt::DropAction> action = ChosenAction(event);
        bool admitted = false;
        if (action && !items.empty() && items.front().IsLocalFile)
            DispatchEvent([&] { admitted = Admits(items.front().Path); });
        if (admitted) {
            event.setDropAction(*action);
            event.accept();
        } else {
            event.ignore();
        }
        return admitted;
    }

    bool Admits(const String& path) const
    {
        const std::vector<String>& types = m_owner.AcceptedFileTypes();
        return std::any_of(types.begin(), types.end(),
                           [&](const String& type) { return FileTypeAdmits(type, path); });
    }

    Canvas& m_owner;
};

} // namespace

Control::~Control() = default;

const ClassDescription& Control::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "Control",
         .Base = &Object::Description(),
         .Methods = {"Name", "Window"},
         .Events = {"Close", "CreatePane", "Open"},
         .Properties = {PropertyOf<Control>("Name", &Control::Name, &Control::Name),
                        StoredPropertyOf<Control>("Index", PropertyType::Int32Type, &Control::m_stored)}});
    return description;
}

void Control::CheckEvent(Int32 number, const std::type_info& type, const String& signature) const
{
    const String name = Class().EventAt(number);
    if (name.empty())
        throw OutOfBoundsException(Class().Name + " has no event " + std::to_string(number) + ".");
    const EventRecord* raised = Class().RaisedEvent(name);
    if (!raised || !raised->Type)
        throw IllegalCastException("The framework never raises the event " + name + " of " +
                                   Class().Name + ".");
    if (*raised->Type != type || raised->Signature != signature)
        throw IllegalCastException("A handler of signature \"" + signature +
                                   "\" does not fit the event " + name + " \"" +
                                   raised->Signature + "\".");
}

void Control::__Exit() noexcept
{
    m_handlers.clear();
    Object::__Exit();
}

RectControl::RectControl() = default;
RectControl::~RectControl() = default;

const ClassDescription& RectControl::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "RectControl",
         .Base = &Control::Description(),
         .Methods = {"Constructor", "Left", "Top", "Width", "Height", "Visible", "Enabled",
                     "HelpTag", "AcceptFileDrop"},
         .Events = {"ConstructContextualMenu", "ContextualMenuAction", "DragEnter", "DragExit",
                    "DragOver", "DropObject", "KeyDown", "KeyUp", "MouseEnter", "MouseExit",
                    "MouseMove", "MouseWheel"},
         .Properties = {
             PropertyOf<RectControl>("Left", &RectControl::Left, &RectControl::Left),
             PropertyOf<RectControl>("Top", &RectControl::Top, &RectControl::Top),
             PropertyOf<RectControl>("Width", &RectControl::Width, &RectControl::Width),
             PropertyOf<RectControl>("Height", &RectControl::Height, &RectControl::Height),
             StoredPropertyOf<RectControl>("LockLeft", PropertyType::BooleanType, &RectControl::m_stored),
             StoredPropertyOf<RectControl>("LockTop", PropertyType::BooleanType, &RectControl::m_stored),
             StoredPropertyOf<RectControl>("LockRight", PropertyType::BooleanType, &RectControl::m_stored),
             StoredPropertyOf<RectControl>("LockBottom", PropertyType::BooleanType, &RectControl::m_stored),
             StoredPropertyOf<RectControl>("TabPanelIndex", PropertyType::Int32Type, &RectControl::m_stored),
             StoredPropertyOf<RectControl>("TabIndex", PropertyType::Int32Type, &RectControl::m_stored),
             StoredPropertyOf<RectControl>("TabStop", PropertyType::BooleanType, &RectControl::m_stored),
             PropertyOf<RectControl>("Visible", &RectControl::Visible, &RectControl::Visible),
             PropertyOf<RectControl>("HelpTag", &RectControl::HelpTag, &RectControl::HelpTag),
             StoredPropertyOf<RectControl>("AutoDeactivate", PropertyType::BooleanType, &RectControl::m_stored),
             PropertyOf<RectControl>("Enabled", &RectControl::Enabled, &RectControl::Enabled),
             StoredPropertyOf<RectControl>("InitialParent", PropertyType::StringType, &RectControl::m_stored),
         }});
    return description;
}

std::unique_ptr<RectControl::Native> RectControl::MakeNative()
{
    return std::make_unique<Native>(std::make_unique<QWidget>());
}

void RectControl::Constructor()
{
    RequireMainThread();
    Ref<Quorvane::Window> window = Window();
    if (!window)
        throw NilObjectException("A control is constructed only inside its window.");
    m_native = MakeNative();
    QWidget& widget = m_native->widget.Get();
    widget.setParent(&NativeAccess::Content(*window));
    widget.setGeometry(0, 0, 100, 100);
    widget.show();
}

void RectControl::__Exit() noexcept
{
    m_native.reset();
    Control::__Exit();
}

QWidget& NativeAccess::Widget(const RectControl& control)
{
    if (!control.m_native)
        throw NilObjectException("The control has not been constructed.");
    return control.m_native->widget.Get();
}

Int32 RectControl::Left() const
{
    return NativeAccess::Widget(*this).x();
}

void RectControl::Left(Int32 left)
{
    QWidget& widget = NativeAccess::Widget(*this);
    widget.move(left, widget.y());
}

Int32 RectControl::Top() const
{
    return NativeAccess::Widget(*this).y();
}

void RectControl::Top(Int32 top)
{
    QWidget& widget = NativeAccess::Widget(*this);
    widget.move(widget.x(), top);
}

Int32 RectControl::Width() const
{
    return NativeAccess::Widget(*this).width();
}

void RectControl::Width(Int32 width)
{
    QWidget& widget = NativeAccess::Widget(*this);
    widget.resize(width, widget.height());
}

Int32 RectControl::Height() const
{
    return NativeAccess::Widget(*this).height();
}

void RectControl::Height(Int32 height)
{
    QWidget& widget = NativeAccess::Widget(*this);
    widget.resize(widget.width(), height);
}

Boolean RectControl::Visible() const
{
    return !NativeAccess::Widget(*this).isHidden();
}

void RectControl::Visible(Boolean visible)
{
    NativeAccess::Widget(*this).setVisible(visible);
}

Boolean RectControl::Enabled() const
{
    return NativeAccess::Widget(*this).isEnabled();
}

void RectControl::Enabled(Boolean enabled)
{
    NativeAccess::Widget(*this).setEnabled(enabled);
}

String RectControl::HelpTag() const
{
    return FromQString(NativeAccess::Widget(*this).toolTip());
}

void RectControl::HelpTag(const String& helpTag)
{
    NativeAccess::Widget(*this).setToolTip(ToQString(helpTag));
}

void RectControl::AcceptFileDrop(const String& fileTypeName)
{
    if (std::find(m_acceptedTypes.begin(), m_acceptedTypes.end(), fileTypeName) ==
        m_acceptedTypes.end())
        m_acceptedTypes.push_back(fileTypeName);
}

const ClassDescription& Canvas::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "Canvas",
         .Base = &RectControl::Description(),
         .Methods = {"Backdrop"},
         .Events = {"Activate", "Deactivate", "DoubleClick", "EnableMenuItems", "GotFocus",
                    "LostFocus", "MouseDown", "MouseDrag", "MouseUp", "Paint"},
         .RaisedEvents = {{"Open", "( Canvas )", &typeid(CanvasOpenEvent)},
                          {"DropObject", "( Canvas, DragItem, Int32 )", &typeid(CanvasDropObjectEvent)},
                          {"MouseDown", "( Canvas, Int32, Int32 ) as Boolean", &typeid(CanvasMouseDownEvent)},
                          {"Paint", "( Canvas, Graphics, Quorvane.Rect() )", &typeid(CanvasPaintEvent)}},
         .Properties = {
             StoredPropertyOf<Canvas>("UseFocusRing", PropertyType::BooleanType, &Canvas::m_stored),
             StoredPropertyOf<Canvas>("AcceptFocus", PropertyType::BooleanType, &Canvas::m_stored),
             StoredPropertyOf<Canvas>("AcceptTabs", PropertyType::BooleanType, &Canvas::m_stored),
             StoredPropertyOf<Canvas>("DoubleBuffer", PropertyType::BooleanType, &Canvas::m_stored),
             StoredPropertyOf<Canvas>("EraseBackground", PropertyType::BooleanType, &Canvas::m_stored),
             StoredPropertyOf<Canvas>("Transparent", PropertyType::BooleanType, &Canvas::m_stored),
         }});
    return description;
}

std::unique_ptr<RectControl::Native> Canvas::MakeNative()
{
    return std::make_unique<Native>(std::make_unique<CanvasWidget>(*this));
}

void Canvas::Backdrop(const Ref<Picture>& picture)
{
    m_backdrop = picture;
    if (m_native)
        NativeAccess::Widget(*this).update();
}

void Canvas::RaiseOpen()
{
    RaiseEvent<void, Ref<Canvas>>("Open", RefTo(*this));
}

void Canvas::__Exit() noexcept
{
    m_backdrop.Clear();
    RectControl::__Exit();
}

} // namespace Quorvane
