#include "model/profile_database.h"

#include <new>
#include <utility>

#include "model/model_services.h"
#include "model/session_state.h"

namespace model {

bool allocateDatabase(ProfileDatabase& db) {
    try {
        db.LNAMES.assign(kProfileLimit, zeroText<24>());
        db.PROFS.assign(kProfileLimit, profileTemplate());
    } catch (const std::bad_alloc&) {
        db.LNAMES.clear();
        db.PROFS.clear();
        return false;
    }
    db.NPROF = 0;
    return true;
}

base::FixedString<24> listName(const base::FixedString<20>& profileName) {
    base::FixedString<24> s;
    for (std::size_t k = 0; k < 20; ++k)
        s[k] = profileName[k];
    return s;
}

void clearSlot(ProfileDatabase& db, int index) {
    if (index < 1 || index > static_cast<int>(db.PROFS.size())) return;
    db.profile(index) = profileTemplate();
    if (index <= static_cast<int>(db.LNAMES.size())) db.name(index) = zeroText<24>();
}

namespace {

// Record m takes the contents of record m + 1: head, flags, graphs, labels and
// station arrays are copied, the model is handed over.
void takeFromNext(ProfileLine& d, ProfileLine& s) {
    static_cast<ProfileHeader&>(d) = s;
    d.LSAVED = s.LSAVED;
    d.reservedAfterSaved = s.reservedAfterSaved;
    d.AXES = s.AXES;
    d.LABELS = s.LABELS;
    try {
        d.EAST = s.EAST;
        d.NORT = s.NORT;
        d.STAT = s.STAT;
        d.ELEV = s.ELEV;
        d.DAT = s.DAT;
        d.MASK = s.MASK;
        d.SYN = s.SYN;
        d.REG = s.REG;
        d.VLFREQ = s.VLFREQ;
        d.VINPH = s.VINPH;
        d.VQUAD = s.VQUAD;
        d.VTHRD = s.VTHRD;
    } catch (const std::bad_alloc&) {
        // Without storage the moved profile keeps no stations rather than a
        // partial set.
        DEALLOCPF(d);
        d.NSTA = 0;
        d.NCOMP = 0;
    }
    d.MODEL = std::move(s.MODEL);
    s.MODEL = PolygonModel{};
}

}  // namespace

void DELETEPFLINE(ProfileDatabase& db, int index, int& /*status*/) {
    const int n = db.NPROF;
    if (n <= 1) {
        clearSlot(db, 1);
        db.NPROF = 0;
        return;
    }
    if (index < n) {
        ProfileLine& gone = db.profile(index);
        DEALLOCPF(gone);
        gone.MODEL = PolygonModel{};
        for (int m = index; m <= n - 1; ++m) {
            takeFromNext(db.profile(m), db.profile(m + 1));
            db.name(m) = db.name(m + 1);
        }
    }
    // The next profile stored there starts from a clean record.
    clearSlot(db, n);
    db.NPROF = n - 1;
}

void CHECKPFLSAVE(ProfileLine& working, ProfileDatabase& db, int index,
                  const util::AxisRecord& /*mapAxis*/, int /*control*/, bool& cancelled) {
    cancelled = false;
    if (index <= 0 || index > db.NPROF || working.LSAVED) return;
    bool answer = false;
    if (auto& prompt = modelServices().saveChangesPrompt) {
        prompt(working.PNAME.view(), answer, cancelled);
    }
    if (answer && !cancelled) {
        COPYPFLINE(db.profile(index), working);
        db.LDBSAV = false;
    }
}

void CLEARDB(ProfileDatabase& db) {
    auto& s = sessionState();
    auto& services = modelServices();
    if (s.ProfileWindow >= 1 && services.closeProfileWindow) services.closeProfileWindow();
    s.CurrentProfile = 0;
    if (services.selectMainWindow) services.selectMainWindow();
    for (int i = 1; i <= db.NPROF; ++i)
        clearSlot(db, i);
    db.NPROF = 0;
}

}  // namespace model
