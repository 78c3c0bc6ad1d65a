#include "converter/mapping/jw_drawing_view.h"

#include "converter/jww/jws_data.h"
#include "converter/jww/jww_data.h"

namespace parvex {

namespace {

JwEntityList TopLevelOf(const JwwEntityModel& m) {
  return JwEntityList{m.EntNo,    m.EntLine,  m.EntEnko,  m.EntTen,
                      m.EntMoji,  m.EntSunpo, m.EntSolid, m.EntBlock};
}

}  // namespace

JwEntityList MembersOf(const TEntJwwBlockDef& def) {
  return JwEntityList{def.mNo,   def.mLine,  def.mEnko,  def.mTen,
                      def.mMoji, def.mSunpo, def.mSolid, def.mBlock};
}

JwDrawingView MakeDrawingView(const TJwwData& jw) {
  JwDrawingView v;
  v.jws = false;
  v.sourceDigest = jw.SourceDigest;
  v.memo = jw.Enthd.strMemo;
  v.drawTime = jw.Enthd.lnDrawTime;
  v.printScale = jw.Enthd.dPrtBairitsu;
  v.jwVer = jw.Enthd.jwVer;
  v.nPrtSet = jw.Enthd.nPrtSet;
  v.lgrp = jw.EntLgrp;
  v.lay = jw.EntLay;
  v.ltpS = jw.EntLtpS;
  v.moj = jw.EntMoj;
  v.top = TopLevelOf(jw);
  v.blockDefs = jw.EntBlockDef;
  v.blockTree = jw.EntBlockTree;
  v.carriedImages = jw.BindImage;
  return v;
}

JwDrawingView MakeDrawingView(const TJwsData& jw) {
  JwDrawingView v;
  v.jws = true;
  v.sourceDigest = jw.SourceDigest;
  v.drawTime = 0;
  v.printScale = 1.0;
  v.lgrp = jw.EntLgrp;
  v.top = TopLevelOf(jw);
  v.blockDefs = jw.EntBlockDef;
  v.blockTree = jw.EntBlockTree;
  return v;
}

}  // namespace parvex
