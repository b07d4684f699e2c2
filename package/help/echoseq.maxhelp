{
	"patcher": {
		"fileversion": 1,
		"appversion": {
			"major": 8,
			"minor": 5,
			"revision": 0,
			"architecture": "x64",
			"modernui": 1
		},
		"classnamespace": "box",
		"rect": [
			80.0,
			80.0,
			795.0,
			683.0
		],
		"bglocked": 0,
		"openinpresentation": 0,
		"default_fontsize": 12.0,
		"default_fontface": 0,
		"default_fontname": "Arial",
		"gridonopen": 1,
		"gridsize": [
			15.0,
			15.0
		],
		"gridsnaponopen": 1,
		"objectsnaponopen": 1,
		"statusbarvisible": 2,
		"toolbarvisible": 1,
		"boxanimatetime": 200,
		"enablehscroll": 1,
		"enablevscroll": 1,
		"description": "",
		"digest": "",
		"tags": "",
		"style": "",
		"subpatcher_template": "",
		"boxes": [
			{
				"box": {
					"id": "obj-1",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"fontsize": 20.0,
					"fontface": 1,
					"patching_rect": [
						20.0,
						20.0,
						92.0,
						30.0
					],
					"text": "echoseq"
				}
			},
			{
				"box": {
					"id": "obj-2",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						20.0,
						52.0,
						463.0,
						21.0
					],
					"text": "Improvise on a stream of integers with a factor oracle, and find its repeated passages"
				}
			},
			{
				"box": {
					"id": "obj-3",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						20.0,
						87.0,
						342.0,
						21.0
					],
					"text": "Each tab shows one part of echoseq, with an object of its own."
				}
			},
			{
				"box": {
					"id": "obj-4",
					"maxclass": "newobj",
					"numinlets": 0,
					"numoutlets": 0,
					"patching_rect": [
						30.0,
						118.0,
						51.0,
						23.0
					],
					"text": "p basic",
					"patcher": {
						"fileversion": 1,
						"appversion": {
							"major": 8,
							"minor": 5,
							"revision": 0,
							"architecture": "x64",
							"modernui": 1
						},
						"classnamespace": "box",
						"rect": [
							80.0,
							80.0,
							795.0,
							683.0
						],
						"bglocked": 0,
						"openinpresentation": 0,
						"default_fontsize": 12.0,
						"default_fontface": 0,
						"default_fontname": "Arial",
						"gridonopen": 1,
						"gridsize": [
							15.0,
							15.0
						],
						"gridsnaponopen": 1,
						"objectsnaponopen": 1,
						"statusbarvisible": 2,
						"toolbarvisible": 1,
						"boxanimatetime": 200,
						"enablehscroll": 1,
						"enablevscroll": 1,
						"description": "",
						"digest": "",
						"tags": "",
						"style": "",
						"subpatcher_template": "",
						"showontab": 1,
						"boxes": [
							{
								"box": {
									"id": "obj-5",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontsize": 20.0,
									"fontface": 1,
									"patching_rect": [
										20.0,
										20.0,
										92.0,
										30.0
									],
									"text": "echoseq"
								}
							},
							{
								"box": {
									"id": "obj-6",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										20.0,
										52.0,
										463.0,
										21.0
									],
									"text": "Improvise on a stream of integers with a factor oracle, and find its repeated passages"
								}
							},
							{
								"box": {
									"id": "obj-7",
									"maxclass": "newobj",
									"numinlets": 0,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										87.0,
										109.0,
										23.0
									],
									"text": "r ---echoseq-basic"
								}
							},
							{
								"box": {
									"id": "obj-8",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 3,
									"outlettype": [
										"int",
										"bang",
										"list"
									],
									"patching_rect": [
										30.0,
										126.0,
										58.0,
										23.0
									],
									"text": "echoseq"
								}
							},
							{
								"box": {
									"id": "obj-9",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										179.0,
										63.0,
										23.0
									],
									"text": "print note"
								}
							},
							{
								"box": {
									"id": "obj-10",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										30.0,
										206.0,
										116.0,
										21.0
									],
									"text": "improvised symbols"
								}
							},
							{
								"box": {
									"id": "obj-11",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										170.0,
										179.0,
										72.0,
										23.0
									],
									"text": "print empty"
								}
							},
							{
								"box": {
									"id": "obj-12",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										170.0,
										206.0,
										93.0,
										21.0
									],
									"text": "nothing learned"
								}
							},
							{
								"box": {
									"id": "obj-13",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										287.0,
										179.0,
										73.0,
										23.0
									],
									"text": "print repeat"
								}
							},
							{
								"box": {
									"id": "obj-14",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										287.0,
										206.0,
										113.0,
										21.0
									],
									"text": "repeated passages"
								}
							},
							{
								"box": {
									"id": "obj-15",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										30.0,
										251.0,
										157.0,
										21.0
									],
									"text": "Learn: one int per symbol"
								}
							},
							{
								"box": {
									"id": "obj-16",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 1,
									"outlettype": [
										"bang"
									],
									"patching_rect": [
										30.0,
										276.0,
										62.0,
										23.0
									],
									"text": "loadbang"
								}
							},
							{
								"box": {
									"id": "obj-17",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										44.0,
										309.0,
										166.0,
										23.0
									],
									"text": "60, 62, 64, 60, 62, 64, 65, 67"
								}
							},
							{
								"box": {
									"id": "obj-18",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										280.0,
										309.0,
										461.0,
										21.0
									],
									"text": "when the patch opens, a short melody is learned: commas send one int after another"
								}
							},
							{
								"box": {
									"id": "obj-19",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										58.0,
										340.0,
										66.0,
										23.0
									],
									"text": "64, 62, 60"
								}
							},
							{
								"box": {
									"id": "obj-20",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										280.0,
										340.0,
										101.0,
										21.0
									],
									"text": "three more notes"
								}
							},
							{
								"box": {
									"id": "obj-21",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										72.0,
										371.0,
										67.0,
										21.0
									],
									"text": "Improvise"
								}
							},
							{
								"box": {
									"id": "obj-22",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										72.0,
										396.0,
										39.0,
										23.0
									],
									"text": "bang"
								}
							},
							{
								"box": {
									"id": "obj-23",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										280.0,
										396.0,
										495.0,
										21.0
									],
									"text": "the next symbol out of the left outlet (a bang from the middle outlet while nothing is learned)"
								}
							},
							{
								"box": {
									"id": "obj-24",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										86.0,
										427.0,
										36.0,
										23.0
									],
									"text": "go 0"
								}
							},
							{
								"box": {
									"id": "obj-25",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										280.0,
										427.0,
										335.0,
										21.0
									],
									"text": "the next bang starts from state 0, the beginning of the stream"
								}
							},
							{
								"box": {
									"id": "obj-26",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										100.0,
										458.0,
										127.0,
										21.0
									],
									"text": "Keep what it learned"
								}
							},
							{
								"box": {
									"id": "obj-27",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										100.0,
										483.0,
										151.0,
										23.0
									],
									"text": "write echoseq_model.json"
								}
							},
							{
								"box": {
									"id": "obj-28",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										280.0,
										483.0,
										427.0,
										21.0
									],
									"text": "save the oracle, the walk's position and the attributes (no name: a save dialog)"
								}
							},
							{
								"box": {
									"id": "obj-29",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										114.0,
										514.0,
										150.0,
										23.0
									],
									"text": "read echoseq_model.json"
								}
							},
							{
								"box": {
									"id": "obj-30",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										280.0,
										514.0,
										335.0,
										21.0
									],
									"text": "load it back, soon after, all at once (no name: an open dialog)"
								}
							},
							{
								"box": {
									"id": "obj-31",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										128.0,
										545.0,
										104.0,
										21.0
									],
									"text": "Show and forget"
								}
							},
							{
								"box": {
									"id": "obj-32",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										128.0,
										570.0,
										82.0,
										23.0
									],
									"text": "dump_max 0"
								}
							},
							{
								"box": {
									"id": "obj-33",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										280.0,
										570.0,
										417.0,
										21.0
									],
									"text": "print up to 50 states from state 0 to the Max window (once a second at most)"
								}
							},
							{
								"box": {
									"id": "obj-34",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										142.0,
										601.0,
										39.0,
										23.0
									],
									"text": "clear"
								}
							},
							{
								"box": {
									"id": "obj-35",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										280.0,
										601.0,
										143.0,
										21.0
									],
									"text": "forget everything learned"
								}
							},
							{
								"box": {
									"id": "obj-36",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										640.0,
										111.0,
										23.0
									],
									"text": "s ---echoseq-basic"
								}
							},
							{
								"box": {
									"id": "obj-37",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										153.0,
										640.0,
										129.0,
										21.0
									],
									"text": "to the object at the top"
								}
							}
						],
						"lines": [
							{
								"patchline": {
									"source": [
										"obj-7",
										0
									],
									"destination": [
										"obj-8",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-8",
										0
									],
									"destination": [
										"obj-9",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-8",
										1
									],
									"destination": [
										"obj-11",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-8",
										2
									],
									"destination": [
										"obj-13",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-16",
										0
									],
									"destination": [
										"obj-17",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-17",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-19",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-22",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-24",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-27",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-29",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-32",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-34",
										0
									],
									"destination": [
										"obj-36",
										0
									]
								}
							}
						]
					}
				}
			},
			{
				"box": {
					"id": "obj-38",
					"maxclass": "newobj",
					"numinlets": 0,
					"numoutlets": 0,
					"patching_rect": [
						97.0,
						118.0,
						72.0,
						23.0
					],
					"text": "p attributes",
					"patcher": {
						"fileversion": 1,
						"appversion": {
							"major": 8,
							"minor": 5,
							"revision": 0,
							"architecture": "x64",
							"modernui": 1
						},
						"classnamespace": "box",
						"rect": [
							80.0,
							80.0,
							795.0,
							683.0
						],
						"bglocked": 0,
						"openinpresentation": 0,
						"default_fontsize": 12.0,
						"default_fontface": 0,
						"default_fontname": "Arial",
						"gridonopen": 1,
						"gridsize": [
							15.0,
							15.0
						],
						"gridsnaponopen": 1,
						"objectsnaponopen": 1,
						"statusbarvisible": 2,
						"toolbarvisible": 1,
						"boxanimatetime": 200,
						"enablehscroll": 1,
						"enablevscroll": 1,
						"description": "",
						"digest": "",
						"tags": "",
						"style": "",
						"subpatcher_template": "",
						"showontab": 1,
						"boxes": [
							{
								"box": {
									"id": "obj-39",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontsize": 20.0,
									"fontface": 1,
									"patching_rect": [
										20.0,
										20.0,
										92.0,
										30.0
									],
									"text": "echoseq"
								}
							},
							{
								"box": {
									"id": "obj-40",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										20.0,
										52.0,
										463.0,
										21.0
									],
									"text": "Improvise on a stream of integers with a factor oracle, and find its repeated passages"
								}
							},
							{
								"box": {
									"id": "obj-41",
									"maxclass": "newobj",
									"numinlets": 0,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										87.0,
										131.0,
										23.0
									],
									"text": "r ---echoseq-attributes"
								}
							},
							{
								"box": {
									"id": "obj-42",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 3,
									"outlettype": [
										"int",
										"bang",
										"list"
									],
									"patching_rect": [
										30.0,
										126.0,
										107.0,
										23.0
									],
									"text": "echoseq @slice 1"
								}
							},
							{
								"box": {
									"id": "obj-43",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										153.0,
										126.0,
										307.0,
										21.0
									],
									"text": "attributes may be box arguments too: echoseq @slice 1"
								}
							},
							{
								"box": {
									"id": "obj-44",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										179.0,
										63.0,
										23.0
									],
									"text": "print note"
								}
							},
							{
								"box": {
									"id": "obj-45",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										30.0,
										206.0,
										116.0,
										21.0
									],
									"text": "improvised symbols"
								}
							},
							{
								"box": {
									"id": "obj-46",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										170.0,
										179.0,
										72.0,
										23.0
									],
									"text": "print empty"
								}
							},
							{
								"box": {
									"id": "obj-47",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										170.0,
										206.0,
										93.0,
										21.0
									],
									"text": "nothing learned"
								}
							},
							{
								"box": {
									"id": "obj-48",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										287.0,
										179.0,
										73.0,
										23.0
									],
									"text": "print repeat"
								}
							},
							{
								"box": {
									"id": "obj-49",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										287.0,
										206.0,
										113.0,
										21.0
									],
									"text": "repeated passages"
								}
							},
							{
								"box": {
									"id": "obj-50",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										30.0,
										251.0,
										400.0,
										21.0
									],
									"text": "Attributes (the messages show the defaults, but slice and threshold)"
								}
							},
							{
								"box": {
									"id": "obj-51",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										276.0,
										69.0,
										23.0
									],
									"text": "straight 20"
								}
							},
							{
								"box": {
									"id": "obj-52",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										268.0,
										276.0,
										376.0,
										21.0
									],
									"text": "0 to 100: the higher, the more the walk replays the stream as learned"
								}
							},
							{
								"box": {
									"id": "obj-53",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										44.0,
										307.0,
										35.0,
										23.0
									],
									"text": "lrs 2"
								}
							},
							{
								"box": {
									"id": "obj-54",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										268.0,
										307.0,
										316.0,
										21.0
									],
									"text": "shortest shared context for a jump back along a suffix link"
								}
							},
							{
								"box": {
									"id": "obj-55",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										58.0,
										338.0,
										47.0,
										23.0
									],
									"text": "slice 1"
								}
							},
							{
								"box": {
									"id": "obj-56",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										268.0,
										338.0,
										390.0,
										21.0
									],
									"text": "repeated passages out of the right outlet: 0 off, 1 maximum, 2 threshold"
								}
							},
							{
								"box": {
									"id": "obj-57",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										72.0,
										369.0,
										72.0,
										23.0
									],
									"text": "threshold 3"
								}
							},
							{
								"box": {
									"id": "obj-58",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										268.0,
										369.0,
										233.0,
										21.0
									],
									"text": "shortest repeated passage sent (1 to 256)"
								}
							},
							{
								"box": {
									"id": "obj-59",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										86.0,
										400.0,
										166.0,
										23.0
									],
									"text": "60, 62, 64, 60, 62, 64, 65, 67"
								}
							},
							{
								"box": {
									"id": "obj-60",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										268.0,
										400.0,
										348.0,
										21.0
									],
									"text": "a melody whose repeated passages come out of the right outlet"
								}
							},
							{
								"box": {
									"id": "obj-61",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										100.0,
										431.0,
										82.0,
										23.0
									],
									"text": "dump_max 0"
								}
							},
							{
								"box": {
									"id": "obj-62",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										268.0,
										431.0,
										289.0,
										21.0
									],
									"text": "print the oracle and the attributes to the Max window"
								}
							},
							{
								"box": {
									"id": "obj-63",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										470.0,
										133.0,
										23.0
									],
									"text": "s ---echoseq-attributes"
								}
							},
							{
								"box": {
									"id": "obj-64",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										175.0,
										470.0,
										129.0,
										21.0
									],
									"text": "to the object at the top"
								}
							}
						],
						"lines": [
							{
								"patchline": {
									"source": [
										"obj-41",
										0
									],
									"destination": [
										"obj-42",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-42",
										0
									],
									"destination": [
										"obj-44",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-42",
										1
									],
									"destination": [
										"obj-46",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-42",
										2
									],
									"destination": [
										"obj-48",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-51",
										0
									],
									"destination": [
										"obj-63",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-53",
										0
									],
									"destination": [
										"obj-63",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-55",
										0
									],
									"destination": [
										"obj-63",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-57",
										0
									],
									"destination": [
										"obj-63",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-59",
										0
									],
									"destination": [
										"obj-63",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-61",
										0
									],
									"destination": [
										"obj-63",
										0
									]
								}
							}
						]
					}
				}
			}
		],
		"lines": []
	}
}
