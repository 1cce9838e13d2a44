#pragma once

#include "platform/errors.h"

#include <QString>

namespace platform {

// The person watching a long task asked it to stop. Thrown out of Progress::step, it ends the
// task where it stands; the task undoes what it had begun (a transaction rolled back, a
// half-written file removed) on its way out. Like the silent abort it shows no box: the page
// that started the task says that it stopped.
class Cancelled : public Abort {};

// Where a long task (a backup, a printout of thousands of rows, an import) says how far it has
// come and learns whether to stop. A task calls begin() for each of its stages and step() as
// it goes; step() is cheap enough to be called for every row.
class Progress {
public:
    virtual ~Progress() = default;
    // A new stage of `total` units (0: not known); `what` says what is being done, in the
    // language of whoever watches (the companion's pages give Turkish texts; empty keeps the
    // text shown).
    virtual void begin(qint64 total, const QString& what = QString()) = 0;
    // `done` units of the stage are done. Throws Cancelled when the person asked to stop.
    virtual void step(qint64 done) = 0;
};

// For a task nobody watches: it never stops.
Progress& noProgress();

} // namespace platform
