#include "window/qt/report_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <iostream>

#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_picture_loader.h"
#include "platform/qt/qt_screen_metrics.h"
#include "platform/qt/qt_window_picture.h"
#include "window/qt/qt_colour.h"
#include "window/qt/report_picture_source.h"
#include "window/qt/report_view.h"

// Resources compiled into a static library are registered by hand, once.
static void RegisterWindowResources() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(zorv);
    return true;
  }();
  (void)registered;
}

namespace zorv {

struct ReportWindow::Session {
  Session(SharedState& state, const ScreenMetrics& screen, const RegionalSettings& regional)
      : form(state, screen, regional) {}
  ReportForm form;
  std::unique_ptr<PictureSource> pictures;
};

namespace {

// Esc or "&" closes the window, whichever control has the focus.
bool ClosesWindow(const QKeyEvent& key) {
  return key.key() == Qt::Key_Escape || key.key() == Qt::Key_Ampersand || key.text() == QStringLiteral("&");
}

}  // namespace

ReportWindow::ReportWindow(SharedState& state, const ScreenMetrics& screen, const RegionalSettings& regional,
                           const PictureSourceMaker& makePictures)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      state_(state),
      screen_(screen),
      background_(std::make_unique<WindowPicture>(*this, screen)),
      loader_(std::make_unique<QtPictureLoader>()),
      messages_(std::make_unique<QtMessageBox>(this)),
      session_(std::make_shared<Session>(state, screen, regional)),
      view_(new ReportView(this)) {
  setObjectName(QStringLiteral("ZRVForm1"));
  setWindowTitle(QStringLiteral("Zorvane"));
  RegisterWindowResources();
  setWindowIcon(QIcon(QStringLiteral(":/zorv/icon.png")));
  view_->installEventFilter(this);
  connect(view_, &ReportView::Painted, this, &ReportWindow::OnReportPainted);
  session_->pictures = makePictures(*this);
}

ReportWindow::ReportWindow(SharedState& state, const ScreenMetrics& screen, const RegionalSettings& regional)
    : ReportWindow(state, screen, regional, MakeReportPictures) {}

ReportWindow::~ReportWindow() = default;

const ReportForm& ReportWindow::Form() const { return session_->form; }

void ReportWindow::Load() {
  session_->form.Load();
  ApplyLayout();
  view_->ShowReport(session_->form.Report(), screen_);
}

void ReportWindow::ApplyLayout() {
  const ReportForm& form = session_->form;
  const WindowLayout& layout = form.Layout();
  const auto centred = form.CentredPosition();
  const double left = centred ? centred->Left : layout.Left;
  const double top = centred ? centred->Top : layout.Top;
  QRect window = TwipsRectToPixels(left, top, layout.Width, layout.Height, screen_);
  // A window is never made larger than the screen, nor smaller than a pixel.
  window.setWidth(std::clamp(window.width(), 1, std::max(1, TwipsToPixels(screen_.WidthTwips, screen_.TwipsPerPixelX))));
  window.setHeight(
      std::clamp(window.height(), 1, std::max(1, TwipsToPixels(screen_.HeightTwips, screen_.TwipsPerPixelY))));
  setGeometry(window);
  view_->setGeometry(TwipsRectToPixels(layout.ReportLeft, layout.ReportTop, layout.ReportWidth, layout.ReportHeight,
                                       screen_));

  QPalette colours = palette();
  colours.setColor(QPalette::Window, QtColour(form.Report().BackColor()));
  setPalette(colours);
  setAutoFillBackground(true);
  setWindowFlag(Qt::WindowStaysOnTopHint, form.StaysOnTop());
}

void ReportWindow::OnReportPainted() {
  if (textPainted_) return;
  textPainted_ = true;
  // The text is on the screen: the pictures follow, once this paint is done.
  QTimer::singleShot(0, this, &ReportWindow::ActivateReport);
}

void ReportWindow::ActivateReport() {
  if (closing_) return;
  view_->setFocus();
  if (activating_) return;
  activating_ = true;
  const std::shared_ptr<Session> session = session_;
  const QPointer<ReportWindow> self(this);
  session->form.Activate(*session->pictures, [self] {
    QCoreApplication::processEvents();
    return !self.isNull() && !self->closing_;
  });
  if (self.isNull()) return;
  activating_ = false;
  if (closing_) return;
  view_->ShowReport(session->form.Report(), screen_);
  emit Activated();
}

bool ReportWindow::event(QEvent* event) {
  // Every activation gives RT the focus; the first one after the text is
  // painted brings the pictures in.
  if (event->type() == QEvent::WindowActivate) {
    view_->setFocus();
    if (textPainted_) ActivateReport();
  }
  return QWidget::event(event);
}

bool ReportWindow::eventFilter(QObject* watched, QEvent* event) {
  // The window sees RT's keys first.
  if (watched == view_ && event->type() == QEvent::KeyPress && ClosesWindow(*static_cast<QKeyEvent*>(event))) {
    close();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void ReportWindow::keyPressEvent(QKeyEvent* event) {
  if (ClosesWindow(*event)) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void ReportWindow::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    try {
      session_->form.Unload();
    } catch (const std::exception& failure) {
      // The program is ending: there is no window left to tell.
      std::cerr << "Zorv.inf could not be written: " << failure.what() << '\n';
    }
  }
  event->accept();
}

}  // namespace zorv
