#pragma once
// The one window, ZRVForm1: frameless, captioned "Zorvane", holding the report
// control RT. It wires the window's events to the report form, which decides
// everything; this class only sizes, places, renders and passes keys on.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/message_box.h"
#include "platform/picture_loader.h"
#include "platform/picture_object.h"
#include "platform/regional_settings.h"
#include "platform/screen_metrics.h"
#include "startup/shared_state.h"
#include "window/picture_source.h"
#include "window/report_form.h"

namespace zorv {

class ReportView;

class ReportWindow final : public QWidget {
  Q_OBJECT

 public:
  using PictureSourceMaker = std::function<std::unique_ptr<PictureSource>(ReportWindow&)>;

  // The pictures come from `makePictures`, called once here.
  ReportWindow(SharedState& state, const ScreenMetrics& screen, const RegionalSettings& regional,
               const PictureSourceMaker& makePictures);
  ReportWindow(SharedState& state, const ScreenMetrics& screen, const RegionalSettings& regional);
  ~ReportWindow() override;

  // The load: display settings, the report (or the usage sheet) in RT, then
  // the window's size, place, colours and on-top hint. Call before show().
  void Load();

  ReportView& Report() { return *view_; }
  const ReportForm& Form() const;
  SharedState& State() { return state_; }
  const ScreenMetrics& Screen() const { return screen_; }
  // What the report's pictures need of the platform: the window as the
  // background of transparent pictures, the loader of JPEG and GIF files, and
  // the one message box.
  PictureObject& Background() { return *background_; }
  PictureLoader& Loader() { return *loader_; }
  MessageBox& Messages() { return *messages_; }
  bool IsClosing() const { return closing_; }

 signals:
  // An activation has gone through to its end and RT shows its result.
  void Activated();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Session;

  void ApplyLayout();
  void ActivateReport();
  void OnReportPainted();

  SharedState& state_;
  ScreenMetrics screen_;
  std::unique_ptr<PictureObject> background_;
  std::unique_ptr<PictureLoader> loader_;
  std::unique_ptr<MessageBox> messages_;
  // Shared with a running activation, so that the form and its pictures
  // outlive it even when the window goes while pending events run.
  std::shared_ptr<Session> session_;
  ReportView* view_;
  bool textPainted_ = false;
  bool activating_ = false;
  bool closing_ = false;
};

}  // namespace zorv
