// SPDX-License-Identifier: GPL-3.0-or-later
// The journal document: new journals, the calculation commands with scripted answers,
// check marks, what the views are told, the modified flag and the record surviving New
// and Open.
#include "TestSupport.h"

#include "FileException.h"

#include "FaultTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

using testing_support::LinesFrom;
using testing_support::ScriptedPrompt;
using testing_support::Values;

namespace {

class CheckRecorder : public CCmdUI {
public:
    void SetCheck(int check) override { m_check = check; }
    void Enable(bool enabled) override { m_enabled = enabled; }
    int m_check = -1;
    bool m_enabled = true;
};

// Remembers every change it is told of, as "appended 2+121", "calculation 2+121" or
// "replaced".
class RecordingView : public CView {
public:
    void OnUpdate(const DocumentEvent& event) override {
        switch (event.kind) {
        case DocumentEvent::Kind::LinesAppended:
            m_events.push_back("appended " + Span(event));
            break;
        case DocumentEvent::Kind::CalculationAppended:
            m_events.push_back("calculation " + Span(event));
            break;
        case DocumentEvent::Kind::Replaced:
            m_events.push_back("replaced");
            break;
        }
    }
    std::vector<std::string> m_events;

private:
    static std::string Span(const DocumentEvent& event) {
        return std::to_string(event.from) + "+" + std::to_string(event.count);
    }
};

int InsuranceCheck(const CTabulonDoc& doc) {
    CheckRecorder ui;
    doc.OnUpdateTypeInsurance(&ui);
    return ui.m_check;
}

int PensionCheck(const CTabulonDoc& doc) {
    CheckRecorder ui;
    doc.OnUpdateTypePension(&ui);
    return ui.m_check;
}

// Scripts every answer the document asks for, remembering the last opening values.
void Script(CTabulonDoc& doc, std::optional<PolicyDialogData> answer,
            PolicyDialogData* seen = nullptr) {
    doc.SetValuesPrompt(ScriptedPrompt(answer, seen));
}

const std::vector<std::string> kOpeningLines = {
    "LIFE INSURANCE AND PENSIONS, journal of calculations.",
    "    To start program, click on `Type of policy'.",
};

TEST(Document, NewJournalHoldsTheTwoOpeningLinesUnmodified) {
    CTabulonDoc doc;
    RecordingView view;
    doc.AddView(&view);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(LinesFrom(doc), kOpeningLines);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    EXPECT_EQ(view.m_events, std::vector<std::string>{"replaced"});
    EXPECT_EQ(InsuranceCheck(doc), 1);
    EXPECT_EQ(PensionCheck(doc), 0);
}

TEST(Document, FirstDialogOpensWithTheRecordDefaults) {
    CTabulonDoc doc;
    doc.OnNewDocument();
    PolicyDialogData seen;
    Script(doc, std::nullopt, &seen);
    doc.OnTypeInsurance();
    EXPECT_EQ(seen.m_nAge, 60);
    EXPECT_EQ(seen.m_nTerm, 5);
    EXPECT_EQ(seen.m_fAmount, 10000.0f);
    EXPECT_EQ(seen.m_nRate, 5);
    EXPECT_EQ(seen.m_nInputKind, 1);
    EXPECT_EQ(seen.m_bMortality, 0);
    EXPECT_EQ(seen.m_bNetIncome, 0);
    EXPECT_EQ(seen.m_nTableIndex, -1);
    EXPECT_EQ(seen.m_nPolicyIndex, -1);
}

TEST(Document, CancelledDialogOnlyMovesTheCheckMark) {
    CTabulonDoc doc;
    doc.OnNewDocument();
    RecordingView view;
    doc.AddView(&view);
    Script(doc, std::nullopt);
    doc.OnTypePension();
    EXPECT_EQ(LinesFrom(doc), kOpeningLines);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(view.m_events.empty());
    EXPECT_EQ(InsuranceCheck(doc), 0);
    EXPECT_EQ(PensionCheck(doc), 1);
    doc.OnTypeInsurance();
    EXPECT_EQ(InsuranceCheck(doc), 1);
    EXPECT_EQ(PensionCheck(doc), 0);
}

TEST(Document, AcceptedRunAppendsUpdatesViewsAndMarksModified) {
    CTabulonDoc doc;
    doc.OnNewDocument();
    RecordingView view;
    doc.AddView(&view);
    PolicyDialogData answer = Values(2, 45, 20, 3, 50000, 1);
    answer.m_bNetIncome = 1;
    Script(doc, answer);
    doc.OnTypeInsurance();
    EXPECT_TRUE(doc.IsModified());
    std::vector<std::string> expected = kOpeningLines;
    for (const std::string& line : testing_support::Report(PolicyKind::Insurance, answer))
        expected.push_back(line);
    EXPECT_EQ(LinesFrom(doc), expected);
    EXPECT_EQ(view.m_events,
              std::vector<std::string>{"calculation 2+" + std::to_string(expected.size() - 2)});
    EXPECT_EQ(doc.m_nTable, 2);
    EXPECT_EQ(doc.m_nPolicyType, 3);
}

TEST(Document, NextDialogIsPreloadedFromTheLastRunEvenAfterNew) {
    CTabulonDoc doc;
    doc.OnNewDocument();
    PolicyDialogData answer = Values(1, 33, 12, 7, 2500.5f);
    answer.m_nInputKind = 2;
    answer.m_bMortality = 1;
    Script(doc, answer);
    doc.OnTypePension();
    doc.OnNewDocument();
    EXPECT_EQ(LinesFrom(doc), kOpeningLines);
    EXPECT_FALSE(doc.IsModified());

    PolicyDialogData seen;
    Script(doc, std::nullopt, &seen);
    doc.OnTypeInsurance();
    EXPECT_EQ(seen.m_nAge, 33);
    EXPECT_EQ(seen.m_nTerm, 12);
    EXPECT_EQ(seen.m_nRate, 7);
    EXPECT_EQ(seen.m_fAmount, 2500.5f);
    // Input kind and sections always start afresh.
    EXPECT_EQ(seen.m_nInputKind, 1);
    EXPECT_EQ(seen.m_bMortality, 0);
}

class DocumentFiles : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return m_folder.Path(name); }
    fault_support::ScratchFolder m_folder;
};

TEST_F(DocumentFiles, RecordSurvivesOpenAndOpenAppendsToTheJournal) {
    CTabulonDoc doc;
    doc.OnNewDocument();
    doc.SaveFile(Path("opening"));
    Script(doc, Values(0, 70, 5, 6));
    doc.OnTypeInsurance();
    const std::size_t before = doc.GetLines()->GetCount();
    RecordingView view;
    doc.AddView(&view);
    doc.OpenFile(Path("opening"));
    EXPECT_EQ(view.m_events, std::vector<std::string>{"appended " + std::to_string(before) + "+2"});
    EXPECT_EQ(doc.GetLines()->GetCount(), before + 2);
    EXPECT_EQ(LinesFrom(doc, before), kOpeningLines);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "opening");
    EXPECT_EQ(doc.m_nAge, 70);
    EXPECT_EQ(doc.m_dRate, 6.0);
    EXPECT_EQ(InsuranceCheck(doc), 1);
}

TEST_F(DocumentFiles, FailedOpenKeepsJournalPathAndFlag) {
    CTabulonDoc doc;
    doc.OnNewDocument();
    Script(doc, Values(1));
    doc.OnTypeInsurance();
    const std::vector<std::string> before = LinesFrom(doc);
    RecordingView view;
    doc.AddView(&view);
    try {
        doc.OpenFile(Path("missing"));
        FAIL() << "opening a missing file succeeded";
    } catch (const CFileException& error) {
        EXPECT_NE(std::string(error.what()).find(Path("missing")), std::string::npos)
            << error.what();
        EXPECT_NE(std::string(error.what()).find("No such file"), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(LinesFrom(doc), before);
    EXPECT_TRUE(view.m_events.empty());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), "");
}

TEST_F(DocumentFiles, FailedSaveKeepsTheJournalModifiedAndTheOldPath) {
    CTabulonDoc doc;
    doc.OnNewDocument();
    doc.SaveFile(Path("journal"));
    Script(doc, Values(1));
    doc.OnTypeInsurance();
    EXPECT_THROW(doc.SaveFile(Path("no-such-folder/journal")), CFileException);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), Path("journal"));
}

} // namespace
