#include "model/profile_line.h"

#include "model/session_state.h"

namespace model {

namespace {

int copyStatus = 0;

template <typename A>
void copyEntries(A& dest, const A& src, int n) {
    for (int i = 1; i <= n; ++i) {
        if (dest.has(i)) dest(i) = src.has(i) ? src(i) : typename std::decay_t<decltype(dest(i))>{};
    }
}

template <typename T>
void copyEntries2(Array2<T>& dest, const Array2<T>& src, int n, int m) {
    for (int k = 1; k <= m; ++k) {
        for (int i = 1; i <= n; ++i) {
            if (dest.has(i, k)) dest(i, k) = src.has(i, k) ? src(i, k) : T{};
        }
    }
}

void copyTopography(PolygonModel& dest, const PolygonModel& src) {
    dest.XTOPO.release();
    dest.ZTOPO.release();
    if (!src.XTOPO.allocated() || !src.ZTOPO.allocated()) return;
    const int n = std::max(dest.NTOPO, 0) + 4;
    if (!dest.XTOPO.allocate(n) || !dest.ZTOPO.allocate(n)) {
        dest.XTOPO.release();
        dest.ZTOPO.release();
        dest.NTOPO = 0;
        return;
    }
    copyEntries(dest.XTOPO, src.XTOPO, n);
    copyEntries(dest.ZTOPO, src.ZTOPO, n);
}

void copyInto(ProfileLine& dest, const ProfileLine& src);

}  // namespace

const ProfileLine& profileTemplate() {
    static const ProfileLine blank;
    return blank;
}

void ALLOCPF(ProfileLine& p, int& status) {
    const int n = std::max(p.NSTA, 0);
    const int m = std::max(p.NCOMP, 0);
    const bool ok = p.EAST.allocate(n) && p.NORT.allocate(n) && p.STAT.allocate(n) &&
                    p.ELEV.allocate(n) && p.DAT.allocate(n, m) && p.MASK.allocate(n, m) &&
                    p.SYN.allocate(n, m) && p.REG.allocate(n);
    status = ok ? 0 : 1;
    if (ok) {
        for (int i = 1; i <= n; ++i)
            p.REG(i) = 0.0f;
    }
}

void DEALLOCPF(ProfileLine& p) {
    p.EAST.release();
    p.NORT.release();
    p.STAT.release();
    p.ELEV.release();
    p.DAT.release();
    p.MASK.release();
    p.SYN.release();
    p.REG.release();
}

int lastCopyStatus() {
    return copyStatus;
}

void COPYPFLINE(ProfileLine& dest, const ProfileLine& src) {
    if (&dest == &src) {  // a copy onto itself would release what it copies
        copyStatus = 0;
    } else {
        copyInto(dest, src);
    }
    auto& s = sessionState();
    s.ViewXUnit = dest.XUNIT;
    s.ViewZUnit = dest.ZUNIT;
}

namespace {

void copyInto(ProfileLine& dest, const ProfileLine& src) {
    DEALLOCPF(dest);
    static_cast<ProfileHeader&>(dest) = src;
    dest.MODEL.NTOPO = src.MODEL.NTOPO;
    ALLOCPF(dest, copyStatus);
    if (copyStatus != 0) {
        // No partial set of station arrays: none, and no stations.
        DEALLOCPF(dest);
        dest.NSTA = 0;
        dest.NCOMP = 0;
    }
    const int n = std::max(dest.NSTA, 0);
    const int m = std::max(dest.NCOMP, 0);
    copyEntries(dest.EAST, src.EAST, n);
    copyEntries(dest.NORT, src.NORT, n);
    copyEntries(dest.STAT, src.STAT, n);
    copyEntries(dest.ELEV, src.ELEV, n);
    copyEntries2(dest.DAT, src.DAT, n, m);
    copyEntries2(dest.MASK, src.MASK, n, m);
    copyEntries2(dest.SYN, src.SYN, n, m);
    copyEntries(dest.REG, src.REG, src.REG.allocated() ? n : 0);

    COPYPG(dest.MODEL, src.MODEL);
    copyTopography(dest.MODEL, src.MODEL);

    dest.AXES = src.AXES;
    dest.LABELS = src.LABELS;
    try {
        dest.VLFREQ = src.VLFREQ;
        dest.VINPH = src.VINPH;
        dest.VQUAD = src.VQUAD;
        dest.VTHRD = src.VTHRD;
    } catch (const std::bad_alloc&) {
        dest.VLFREQ.release();
        dest.VINPH.release();
        dest.VQUAD.release();
        dest.VTHRD.release();
        dest.NVSTA = dest.NVLIN = dest.MVLIN = dest.MVSTA = 0;
        copyStatus = 1;
    }
}

}  // namespace

}  // namespace model
