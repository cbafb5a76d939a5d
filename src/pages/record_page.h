#pragma once
// What the window's whole-host operations (open a configuration, write all,
// history) need from every tab page.
namespace quendra {

class RecordPage {
 public:
  virtual ~RecordPage() = default;
  // Shows what the session's configuration holds for the page's group.
  virtual void showRecords() = 0;
  // Takes what is on screen into the configuration, as a write would;
  // false, after the refusal's box, when a field is refused.
  virtual bool storeFields() = 0;
};

}  // namespace quendra
