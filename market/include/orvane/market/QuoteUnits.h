#pragma once
// Units of traded quantities. The quote service counts volume in shares and
// amount in yuan; the histories (ours and most vendors') count volume in
// lots of 100 shares. Every conversion between the two goes through here.

namespace orvane {

inline constexpr double kSharesPerLot = 100.0;

constexpr double sharesFromLots(double lots) {
    return lots * kSharesPerLot;
}
constexpr double lotsFromShares(double shares) {
    return shares / kSharesPerLot;
}

}  // namespace orvane
