#include "model/profile_database.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/model_services.h"
#include "model/session_state.h"
#include "model_fixtures.h"

using model::ProfileDatabase;
using model::ProfileLine;

namespace {

// A profile of n stations and m components whose values tell it apart (tag),
// with a model of `bodies` squares and a topography from the stations.
ProfileLine makeProfile(int tag, int n, int m, int bodies) {
    ProfileLine p;
    p.PNAME.assign("P" + std::to_string(tag));
    p.XUNIT.assign("KM");
    p.ZUNIT.assign("M");
    p.NSTA = n;
    p.NCOMP = m;
    int status = -1;
    model::ALLOCPF(p, status);
    EXPECT_EQ(status, 0);
    for (int i = 1; i <= n; ++i) {
        p.EAST(i) = static_cast<float>(tag * 1000 + i);
        p.NORT(i) = static_cast<float>(tag);
        p.STAT(i) = static_cast<float>(i);
        p.ELEV(i) = 10.0f;
        for (int k = 1; k <= m; ++k) {
            p.DAT(i, k) = static_cast<float>(tag * 10 + k);
            p.MASK(i, k) = (i + k) % 2 == 0;
            p.SYN(i, k) = -static_cast<float>(tag);
        }
        p.REG(i) = 0.5f * static_cast<float>(tag);
    }
    std::vector<model_test::Outline> outlines;
    for (int b = 0; b < bodies; ++b)
        outlines.push_back(model_test::square(static_cast<float>(tag + 3 * b), 0, 1));
    p.MODEL = model_test::makeModel(outlines);
    p.MODEL.DBKG = static_cast<float>(tag);
    p.AXES[2].originX = static_cast<float>(tag);
    p.LABELS.NLAB = 1;
    p.LABELS.CMODL[0].assign("label " + std::to_string(tag));
    return p;
}

ProfileDatabase databaseOf(int count) {
    ProfileDatabase db;
    EXPECT_TRUE(model::allocateDatabase(db));
    for (int i = 1; i <= count; ++i) {
        db.profile(i) = makeProfile(i, 3 + i, 1 + (i % 2), i);
        db.name(i) = model::listName(db.profile(i).PNAME);
    }
    db.NPROF = count;
    return db;
}

}  // namespace

TEST(ProfileDatabase, SlotsStartFromTheAllZeroDefaultRecord) {
    ProfileDatabase db;
    ASSERT_TRUE(model::allocateDatabase(db));
    ASSERT_EQ(db.PROFS.size(), 100u);
    EXPECT_EQ(db.NPROF, 0);
    const auto& p = db.profile(100);
    EXPECT_EQ(p.PNAME[0], '\0');
    EXPECT_EQ(p.XUNIT[7], '\0');
    EXPECT_FALSE(p.EAST.allocated());
    EXPECT_EQ(p.MODEL.NBOD, 0);
    EXPECT_FALSE(p.MODEL.XVRT.allocated());
    EXPECT_EQ(p.AXES[5], util::AxisRecord{});
}

TEST(ProfileRecord, AllocatesTheStationArraysAndReleasesThemSafely) {
    ProfileLine p;
    model::DEALLOCPF(p);
    model::DEALLOCPF(p);
    EXPECT_FALSE(p.REG.allocated());

    p.NSTA = 0;
    p.NCOMP = 2;
    int status = -1;
    model::ALLOCPF(p, status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(p.EAST.allocated());
    EXPECT_EQ(p.EAST.size(), 0);

    p.NSTA = 3;
    model::DEALLOCPF(p);
    model::ALLOCPF(p, status);
    EXPECT_EQ(p.DAT.cols(), 2);
    EXPECT_EQ(p.MASK.rows(), 3);
    EXPECT_EQ(p.REG.size(), 3);
    EXPECT_EQ(p.REG(3), 0.0f);

    model::DEALLOCPF(p);
    model::allocationFaults().countdown = 4;  // the data array fails
    model::ALLOCPF(p, status);
    EXPECT_NE(status, 0);
    EXPECT_TRUE(p.ELEV.allocated());
    EXPECT_FALSE(p.DAT.allocated());
    EXPECT_FALSE(p.REG.allocated());
}

TEST(ProfileRecord, DeepCopyIntoTheWorkingProfileAndBack) {
    ProfileDatabase db = databaseOf(2);
    ProfileLine& slot = db.profile(2);
    slot.LSAVED = false;
    slot.reserved164.fill(0x3C);
    slot.MODEL.IPOINT(5) = 1;
    slot.MODEL.XTOPO(4) = 1.0E15f;  // a closing point as the calculation leaves it

    ProfileLine working;
    working.LSAVED = true;
    model::COPYPFLINE(working, slot);
    EXPECT_TRUE(working.LSAVED);  // the caller's to set
    EXPECT_EQ(static_cast<const model::ProfileHeader&>(working),
              static_cast<const model::ProfileHeader&>(slot));
    EXPECT_EQ(working.DAT, slot.DAT);
    EXPECT_EQ(working.MASK, slot.MASK);
    EXPECT_EQ(working.REG, slot.REG);
    EXPECT_EQ(working.MODEL, slot.MODEL);
    EXPECT_EQ(working.AXES, slot.AXES);
    EXPECT_EQ(working.LABELS, slot.LABELS);
    EXPECT_EQ(model::sessionState().ViewXUnit, base::FixedString<8>("KM"));
    EXPECT_EQ(model::sessionState().ViewZUnit, base::FixedString<8>("M"));
    EXPECT_NE(working.MODEL.XVRT.values().data(), slot.MODEL.XVRT.values().data());
    EXPECT_NE(working.EAST.values().data(), slot.EAST.values().data());

    // Edits of the working profile do not reach the slot until stored back.
    working.MODEL.XVRT(1) = 77.0f;
    working.DAT(1, 1) = -5.0f;
    working.MODEL.XTOPO(1) = 3.0f;
    EXPECT_NE(slot.MODEL.XVRT(1), 77.0f);
    EXPECT_NE(slot.DAT(1, 1), -5.0f);
    model::COPYPFLINE(slot, working);
    EXPECT_EQ(slot.MODEL.XVRT(1), 77.0f);
    EXPECT_EQ(slot.DAT(1, 1), -5.0f);
    EXPECT_EQ(slot.MODEL.XTOPO(1), 3.0f);
    EXPECT_EQ(slot.MODEL.XTOPO(4), 1.0E15f);
    EXPECT_FALSE(slot.LSAVED);
    working.MODEL.XVRT(1) = 1.0f;
    EXPECT_EQ(slot.MODEL.XVRT(1), 77.0f);
}

TEST(ProfileRecord, ACopyOntoItselfChangesNothing) {
    ProfileLine p = makeProfile(4, 3, 2, 2);
    const ProfileLine before = p;
    model::COPYPFLINE(p, p);
    EXPECT_EQ(p, before);
    model::COPYPG(p.MODEL, p.MODEL);
    EXPECT_EQ(p.MODEL, before.MODEL);
}

TEST(ProfileRecord, CopyWithoutARegionalGivesZerosAndAFailedCopyHasNoStations) {
    ProfileLine src = makeProfile(3, 4, 1, 1);
    src.REG.release();
    ProfileLine dest = makeProfile(9, 2, 2, 2);
    model::COPYPFLINE(dest, src);
    ASSERT_EQ(dest.REG.size(), 4);
    EXPECT_EQ(dest.REG(4), 0.0f);

    model::allocationFaults().countdown = 2;
    model::COPYPFLINE(dest, src);
    EXPECT_NE(model::lastCopyStatus(), 0);
    EXPECT_EQ(dest.NSTA, 0);
    EXPECT_FALSE(dest.EAST.allocated());
    EXPECT_EQ(dest.MODEL, src.MODEL);  // the rest is still copied
}

TEST(ProfileDatabase, DeletingProfileTwoOfFourMovesNamesAndModels) {
    ProfileDatabase db = databaseOf(4);
    const ProfileLine third = db.profile(3);
    const ProfileLine fourth = db.profile(4);
    int status = 123;
    model::DELETEPFLINE(db, 2, status);
    EXPECT_EQ(status, 123);
    EXPECT_EQ(db.NPROF, 3);
    EXPECT_EQ(db.name(2).str(), "P3");
    EXPECT_EQ(db.name(3).str(), "P4");
    EXPECT_EQ(db.profile(2), third);
    EXPECT_EQ(db.profile(3), fourth);
    EXPECT_EQ(db.profile(1).PNAME.str(), "P1");
    // Slot 4 is free and as a new slot; nothing is shared.
    EXPECT_EQ(db.profile(4), model::profileTemplate());
    EXPECT_EQ(db.profile(4).MODEL.NBOD, 0);
    EXPECT_FALSE(db.profile(4).MODEL.XVRT.allocated());
    EXPECT_FALSE(db.profile(4).MODEL.XTOPO.allocated());
    EXPECT_NE(db.profile(3).EAST.values().data(), db.profile(4).EAST.values().data());
    db.profile(2).MODEL.XVRT(1) = 500.0f;
    db.profile(2).EAST(1) = -1.0f;
    EXPECT_EQ(db.profile(3).MODEL.XVRT(1), fourth.MODEL.XVRT(1));
    EXPECT_EQ(db.profile(3).EAST(1), fourth.EAST(1));
}

TEST(ProfileDatabase, DeletingTheLastOrOnlyProfileLowersTheCountAndClearsItsSlot) {
    ProfileDatabase db = databaseOf(3);
    int status = 0;
    model::DELETEPFLINE(db, 3, status);
    EXPECT_EQ(db.NPROF, 2);
    EXPECT_EQ(db.profile(2).PNAME.str(), "P2");
    EXPECT_EQ(db.profile(3), model::profileTemplate());
    EXPECT_EQ(db.name(3), model::zeroText<24>());
    ProfileDatabase one = databaseOf(1);
    model::DELETEPFLINE(one, 1, status);
    EXPECT_EQ(one.NPROF, 0);
    EXPECT_EQ(one.profile(1), model::profileTemplate());
}

TEST(ProfileDatabase, CheckSaveAsksOnlyForAnUnsavedProfileInRange) {
    ProfileDatabase db = databaseOf(2);
    db.LDBSAV = true;
    ProfileLine working = makeProfile(7, 3, 1, 1);
    int prompts = 0;
    std::string asked;
    bool yes = true, cancel = false;
    model::modelServices().saveChangesPrompt = [&](std::string_view name, bool& a, bool& c) {
        ++prompts;
        asked = std::string(name);
        a = yes;
        c = cancel;
    };
    bool cancelled = true;
    working.LSAVED = true;
    model::CHECKPFLSAVE(working, db, 1, util::AxisRecord{}, 0, cancelled);
    working.LSAVED = false;
    model::CHECKPFLSAVE(working, db, 0, util::AxisRecord{}, 0, cancelled);
    model::CHECKPFLSAVE(working, db, 3, util::AxisRecord{}, 0, cancelled);
    EXPECT_EQ(prompts, 0);
    EXPECT_FALSE(cancelled);

    model::CHECKPFLSAVE(working, db, 2, util::AxisRecord{}, 0, cancelled);
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(asked, "P7                  ");
    EXPECT_EQ(db.profile(2).EAST(1), 7001.0f);
    EXPECT_FALSE(db.LDBSAV);

    yes = false;
    cancel = true;
    db.LDBSAV = true;
    working.EAST(1) = 0.0f;
    model::CHECKPFLSAVE(working, db, 2, util::AxisRecord{}, 0, cancelled);
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(db.profile(2).EAST(1), 7001.0f);
    EXPECT_TRUE(db.LDBSAV);
    model::modelServices().saveChangesPrompt = nullptr;
}

TEST(ProfileDatabase, ClearReturnsEverySlotToTheDefaultRecord) {
    ProfileDatabase db = databaseOf(2);
    db.DBNAME.assign("SITE");
    auto& s = model::sessionState();
    s.CurrentProfile = 2;
    s.ProfileWindow = 3;
    std::vector<std::string> calls;
    model::modelServices().closeProfileWindow = [&] {
        calls.push_back("close");
        s.ProfileWindow = -1;
    };
    model::modelServices().selectMainWindow = [&] { calls.push_back("main"); };
    model::CLEARDB(db);
    EXPECT_EQ(calls, (std::vector<std::string>{"close", "main"}));
    EXPECT_EQ(s.CurrentProfile, 0);
    EXPECT_EQ(db.NPROF, 0);
    EXPECT_FALSE(db.profile(1).EAST.allocated());
    EXPECT_FALSE(db.profile(2).REG.allocated());
    // Nothing of the old profiles is left for the next one stored there.
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(db.profile(i), model::profileTemplate()) << i;
        EXPECT_EQ(db.name(i), model::zeroText<24>()) << i;
    }
    EXPECT_EQ(db.DBNAME.str(), "SITE");

    calls.clear();
    model::CLEARDB(db);  // window already closed
    EXPECT_EQ(calls, (std::vector<std::string>{"main"}));
    model::modelServices().closeProfileWindow = nullptr;
    model::modelServices().selectMainWindow = nullptr;
    model::resetSessionState();
}
