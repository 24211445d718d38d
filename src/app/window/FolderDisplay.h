// How the window shows a folder path: the home folder abbreviated to "~", on one line,
// shortened in the middle when it does not fit, and the full path as its tooltip.
#pragma once

#include <QLabel>
#include <QString>

namespace tessel {

// "~" and the rest when `path` lies inside `home` (the home folder itself stays unchanged);
// any other path unchanged.
QString displayPath(const QString& path, const QString& home);

class PathLabel : public QLabel {
  Q_OBJECT

 public:
  PathLabel(const QString& path, const QString& home, QWidget* parent = nullptr);

  const QString& fullText() const { return full_; }
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void elide();

  QString full_;
};

}  // namespace tessel
