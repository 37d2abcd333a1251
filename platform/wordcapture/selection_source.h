#pragma once
// Where captured words come from: a text selection that changes whenever the learner selects text
// in any program. The word grabber watches one source; the real one is the X11 primary selection
// (what the learner last highlighted, anywhere on the desktop), and tests hand the grabber a fake.

#include <QObject>
#include <QString>

#include <optional>

namespace platform {

class SelectionSource : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  ~SelectionSource() override = default;

  // The selected text now (empty when nothing is selected or the owner does not answer).
  virtual QString text() const = 0;
  // Whether the learner is still making the selection (a pointer button is held: a drag over text
  // or a double click goes on); nothing when the source cannot tell.
  virtual std::optional<bool> stillSelecting() const { return std::nullopt; }

 signals:
  // A program took or changed the selection.
  void changed();
};

// The desktop's primary selection (QClipboard::Selection). Where the session has none (a platform
// without selections), it never reports a change.
class PrimarySelectionSource : public SelectionSource {
  Q_OBJECT

 public:
  explicit PrimarySelectionSource(QObject* parent = nullptr);
  QString text() const override;
  std::optional<bool> stillSelecting() const override;
};

}  // namespace platform
