#pragma once

// The names windows call each other by. A window of another library is reached only through these names
// and the forms registry, so that a window that is not there is skipped rather than faked.

#include <QString>

namespace formnames {

// Windows.
inline const QString mdiMain = QStringLiteral("mdiMain");
inline const QString frmSplash = QStringLiteral("frmSplash");
inline const QString frmUSBSelect = QStringLiteral("frmUSBSelect");
inline const QString frmAbout = QStringLiteral("frmAbout");
inline const QString frmIOInterface = QStringLiteral("frmIOInterface");
inline const QString frmWorkingHard = QStringLiteral("frmWorkingHard");
inline const QString frmGraphics = QStringLiteral("frmGraphics");
inline const QString frmControl = QStringLiteral("frmControl");
inline const QString frmProfile = QStringLiteral("frmProfile");
inline const QString frmEditOutFreq = QStringLiteral("frmEditOutFreq");
inline const QString frmEditPhaseOffset1 = QStringLiteral("frmEditPhaseOffset1");
inline const QString frmEditOSF = QStringLiteral("frmEditOSF");
inline const QString frmEditOSF_QM = QStringLiteral("frmEditOSF_QM");
inline const QString frmEditRAMAddrRR = QStringLiteral("frmEditRAMAddrRR");
inline const QString frmQDUCRSR = QStringLiteral("frmQDUCRSR");
inline const QString frmRAMDebug = QStringLiteral("frmRAMDebug");
inline const QString frmFreqAndSweep = QStringLiteral("frmFreqAndSweep");
inline const QString frmMultiChipSync = QStringLiteral("frmMultiChipSync");
inline const QString frmDebug = QStringLiteral("frmDebug");
inline const QString frmRegMapVals = QStringLiteral("frmRegMapVals");
inline const QString frmFIFOControl = QStringLiteral("frmFIFOControl");
inline const QString frmFIFODebug = QStringLiteral("frmFIFODebug");
inline const QString frmWatchDogTmr = QStringLiteral("frmWatchDogTmr");
inline const QString frmADC = QStringLiteral("frmADC");
inline const QString frmGPIO = QStringLiteral("frmGPIO");
inline const QString frmQAMVG = QStringLiteral("frmQAMVG");
inline const QString frmSimulatorSetup = QStringLiteral("frmSimulatorSetup");

// Procedures called by name on whichever windows have them.
inline const QString RefreshFormVals = QStringLiteral("RefreshFormVals");
inline const QString UdStatusIndicators = QStringLiteral("UdStatusIndicators");
inline const QString UdControlState = QStringLiteral("UdControlState");
inline const QString SetMode = QStringLiteral("SetMode");
inline const QString UpdateFreqsAndRRs = QStringLiteral("UpdateFreqsAndRRs");
inline const QString UpdateSPIStatus = QStringLiteral("UpdateSPIStatus");
inline const QString UpdatePortVals = QStringLiteral("UpdatePortVals");
inline const QString UpdateOtherForms = QStringLiteral("UpdateOtherForms");
inline const QString PopulateRegAddrs = QStringLiteral("PopulateRegAddrs");
inline const QString UpdateProfileSel = QStringLiteral("UpdateProfileSel");
inline const QString UpdateUSBStat = QStringLiteral("UpdateUSBStat");
inline const QString UpdateFIFOStat = QStringLiteral("UpdateFIFOStat");
inline const QString RefreshFIFOFlags = QStringLiteral("RefreshFIFOFlags");
inline const QString UpdateQAMVects = QStringLiteral("UpdateQAMVects");
inline const QString UpdateGEVects = QStringLiteral("UpdateGEVects");
inline const QString UpdateSDPSKVects = QStringLiteral("UpdateSDPSKVects");
// The Control window takes the system clock's external clock into its box (a setup file set it).
inline const QString ShowExternalClock = QStringLiteral("ShowExternalClock");

// Windows that no other window reaches by name: the name only identifies them.
inline const QString ttbForm = QStringLiteral("ttbForm");

} // namespace formnames
